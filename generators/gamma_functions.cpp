#include "generators/gamma_functions.h"

#include <cmath>

#include "generators/constants.h"

namespace olvend {
namespace {

// b1 to b8 of the approximation f * Gamma(f) = 1 + b1 f + ... + b8 f^8.
constexpr double kGammaCoefficients[8] = {-0.577191652, 0.988205891, -0.897056937, 0.918206857,
                                          -0.756704078, 0.482199394, -0.193527818, 0.035868343};

}  // namespace

double GammaFunction(double x) {
  if (!(x > 0.0) || x > 20.0) return 1.0;
  const int n = static_cast<int>(x);
  const double f = x - n;
  double r = 1.0;
  if (f != 0.0) {
    r = 1.0 / f + kGammaCoefficients[0];
    double t = 1.0;
    for (int k = 2; k <= 8; ++k) {
      t = t * f;
      r = r + kGammaCoefficients[k - 1] * t;
    }
    if (n == 0) return r;
    r = r * f;
  }
  if (n == 1) return r;
  for (int i = 2; i <= n; ++i) r = r * (i - 1 + f);
  return r;
}

double IncompleteGamma(double a, double x, double tol) {
  if (!(x > 0.0)) return 0.0;
  if (x > 500.0) return GammaFunction(a);
  const long double tol_squared = static_cast<long double>(tol) * tol;
  long double term = 1.0L / a;
  long double sum = term;
  for (int i = 1; i <= 999; ++i) {
    term = term * (x / (a + i));
    sum = sum + term;
    if (term < tol_squared) break;
  }
  sum = sum * std::exp(a * std::log(x) - x);
  const double root_pi = std::sqrt(kPi);
  if (a == 0.5 && sum > root_pi) return root_pi;
  return static_cast<double>(sum);
}

int SignOf(double v) {
  if (v < 0.0) return -1;
  if (v > 0.0) return 1;
  return 0;
}

}  // namespace olvend
