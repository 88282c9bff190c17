#include "criteria/limit_laws.h"

#include <cmath>

#include "criteria/quessel.h"

namespace quessel::internal {

namespace {

// The two parameters that A2Integral hands to A2Integrand, whose only
// argument is the integration variable. One pair per thread, so that
// repetitions fitted on several threads at once do not disturb each other.
thread_local double integrand_a = 0.0;
thread_local double integrand_b = 0.0;

constexpr double kSeriesTolerance = 1e-12;
constexpr double kIntegralPieceWidth = 0.1;

}  // namespace

double KolmLimitDistr(double S) {
  if (!(S >= 0.2)) return 0.0;
  double sum = 1.0;
  for (int k = 1;; ++k) {
    const double term = 2.0 * std::exp(-2.0 * k * k * S * S);
    if (std::fabs(term) <= 1e-7) break;
    sum += (k % 2 == 0) ? term : -term;
  }
  return sum;
}

double LimitDistrA1(double S) {
  if (!(S > 0.0)) return 0.0;
  if (S >= 2.48) return 1.0;
  double c = 1.0 / std::sqrt(2.0 * S);
  double sum = c * BesselDiffQuarter(1.0 / (16.0 * S));
  double last = sum;
  for (int j = 1; std::fabs(last) > kSeriesTolerance; ++j) {
    c = c * (j - 0.5) / j;
    const double m = 4.0 * j + 1.0;
    last = std::sqrt(m) * c * BesselDiffQuarter(m * m / (16.0 * S));
    sum += last;
  }
  return sum;
}

double BesselDiffQuarter(double y) {
  const double e = std::exp(-y);
  const double h = y / 2.0;
  const double q = h * h;
  double p1 = std::pow(h, -0.25) * e;
  double p2 = std::pow(h, 0.25) * e;
  double factorial = 1.0;
  int m = 0;
  double g1 = gamma(0.75);
  double g2 = gamma(1.25);
  double t1 = p1 / 1.0 / g1;
  double t2 = p2 / 1.0 / g2;
  double s1 = t1;
  double s2 = t2;
  while (std::fabs(t1) > kSeriesTolerance && std::fabs(t2) > kSeriesTolerance) {
    ++m;
    factorial *= m;
    g1 *= m - 0.25;
    g2 *= m + 0.25;
    p1 *= q;
    p2 *= q;
    t1 = p1 / factorial / g1;
    t2 = p2 / factorial / g2;
    s1 += t1;
    s2 += t2;
  }
  return s1 - s2;
}

double LimitDistrA2(double S) {
  if (!(S > 0.0)) return 0.0;
  if (S >= 13.18) return 1.0;
  double c = 2.506628274631 / S;
  const double b0 = 9.86960440108936 / (8.0 * S);
  double sign = 1.0;
  double sum = c * A2Integral(S / 8.0, b0);
  double last = sum;
  for (int j = 1; std::fabs(last) > kSeriesTolerance; ++j) {
    sign = -sign;
    c = c * (j - 0.5) / j;
    const double m = 4.0 * j + 1.0;
    const double b = m * m * b0;
    last = m * sign * c * A2Integral(S / 8.0, b);
    sum += last;
  }
  return sum;
}

double A2Integral(double a, double b) {
  integrand_a = a;
  integrand_b = b;
  double low = 0.0;
  double high = kIntegralPieceWidth;
  double piece = 0.0;
  int status = 0;
  blsimp0(&piece, low, high, kSeriesTolerance, A2Integrand, &status);
  double total = piece;
  while (piece > kSeriesTolerance) {
    low = high;
    high += kIntegralPieceWidth;
    blsimp0(&piece, low, high, kSeriesTolerance, A2Integrand, &status);
    total += piece;
  }
  return total;
}

double A2Integrand(double t) {
  const double s = 1.0 + t * t;
  return std::exp(integrand_a / s - integrand_b * s);
}

double gamma(double x) {
  if (!(x > 0.0)) throw "\n Function gamma:  arg <= 0.0";
  const int n = static_cast<int>(x);
  const double f = x - n;
  double g;
  if (f != 0.0) {
    static constexpr double kC[8] = {-0.577191652, 0.988205891, -0.897056937, 0.918206857,
                                     -0.756704078, 0.482199394, -0.193527818, 0.035868343};
    g = 1.0 / f + kC[0];
    double power = 1.0;
    for (int i = 1; i < 8; ++i) {
      power *= f;
      g += kC[i] * power;
    }
    if (n == 0) return g;
    g *= f;
    for (int i = 2; i <= n; ++i) g *= i - 1 + f;
  } else {
    g = 1.0;
    for (int i = 2; i <= n; ++i) g *= i - 1;
  }
  return g;
}

}  // namespace quessel::internal
