#include "generators/value_biexp.h"

#include <cmath>

#include "generators/constants.h"
#include "generators/gamma_functions.h"
#include "platform/exceptions.h"

namespace {

constexpr double kSeriesTolerance = 1e-8;
constexpr double kFarAway = 1e100;
constexpr int kMaxEvaluations = 50;

// The incomplete gamma function as the distribution function calls it.
double LowerGamma(double value, double shape_reciprocal) {
  return olvend::IncompleteGamma(shape_reciprocal, value, kSeriesTolerance);
}

// The distribution function and the density with the pure functions of the
// shape formed once: the inversion evaluates them up to a hundred times, and
// the object keeps nothing but the three parameters.
class ExpPowerLaw {
 public:
  ExpPowerLaw(double a, double b, double c)
      : a_(a),
        b_(b),
        c_(c),
        shape_reciprocal_(1.0 / c),
        gamma_(olvend::GammaFunction(shape_reciprocal_)),
        density_divisor_(gamma_ * (olvend::kSqrt2Single * b)) {}

  double F(double x) const {
    const double z = (x - a_) / b_;
    const double g = std::pow(std::fabs(z / olvend::kSqrt2Single), c_);
    const double h = olvend::SignOf(z / olvend::kSqrt2Single) * 0.5;
    return (LowerGamma(g, shape_reciprocal_) * h) / gamma_ + 0.5;
  }

  double f(double x) const {
    const double z = (x - a_) / b_;
    const double g = std::pow(std::fabs(z / olvend::kSqrt2Single), c_);
    return ((0.5 * c_) * std::exp(-g)) / density_divisor_;
  }

 private:
  double a_;
  double b_;
  double c_;
  double shape_reciprocal_;  // 1 / c
  double gamma_;             // GammaFunction(1 / c)
  double density_divisor_;   // GammaFunction(1 / c) * (sqrt 2 * b)
};

}  // namespace

TCValueBiExp::TCValueBiExp(double a, double b, double c) : a_(a), b_(b), c_(c) {
  if (!std::isfinite(a))
    throw Exception("Параметр сдвига экспоненциально-степенного распределения должен быть конечным числом !");
  if (!std::isfinite(b))
    throw Exception("Масштаб экспоненциально-степенного распределения должен быть конечным числом !");
  if (b == 0.0)
    throw Exception("Масштаб экспоненциально-степенного распределения не может быть равен нулю !");
  if (!(c > 0.0) || !std::isfinite(c)) {
    throw Exception(
        "Параметр формы экспоненциально-степенного распределения должен быть конечным числом больше нуля !");
  }
}

TCValueBiExp::~TCValueBiExp() = default;

double TCValueBiExp::F(double x) { return ExpPowerLaw(a_, b_, c_).F(x); }

double TCValueBiExp::f(double x) { return ExpPowerLaw(a_, b_, c_).f(x); }

double TCValueBiExp::InvF(double p, double tol) {
  // The margin below 1e-10 is a single-precision 1e-11; the sums are extended.
  constexpr float kMargin = 1e-11f;
  if (p <= static_cast<long double>(olvend::kUniformBound) + kMargin ||
      p >= 1.0L - olvend::kUniformBound - kMargin) {
    return a_;
  }
  const ExpPowerLaw law(a_, b_, c_);

  // Bracketing walk from the origin of the axis; one step exponent serves both directions.
  double x = 0.0;
  bool have_low = false;
  bool have_high = false;
  double x_low = 0.0, f_low = 0.0, x_high = 0.0, f_high = 0.0;
  int budget = kMaxEvaluations;
  int k = 1;
  while (!(have_low && have_high)) {
    if (budget == 0) break;
    --budget;
    const double fx = law.F(x);
    if (fx == p) return x;
    if (fx < p) {
      if (!have_low) {
        have_low = true;
        x_low = x;
        f_low = fx;
        x = x + 10.0;
      } else if (!(fx < f_low)) {  // a lower value than the last low point keeps x as it is
        x_low = x;
        f_low = fx;
        x = x + std::pow(10.0, k);
        ++k;
        if (k > 10) {
          x_low = x_high = kFarAway;
          have_low = have_high = true;
        }
      }
    } else {
      if (!have_high) {
        have_high = true;
        x_high = x;
        f_high = fx;
        x = x - 10.0;
      } else if (!(fx > f_high)) {
        x_high = x;
        f_high = fx;
        x = x - std::pow(10.0, k);
        ++k;
        if (k > 10) {
          x_low = x_high = -kFarAway;
          have_low = have_high = true;
        }
      }
    }
  }
  // A spent budget widens the bracket to the whole axis, whatever was found.
  if (budget == 0) {
    x_low = -kFarAway;
    x_high = kFarAway;
  }

  x = (x_low + x_high) * 0.5;
  if (x_low >= x_high) return x;

  for (int iteration = 0; iteration < kMaxEvaluations; ++iteration) {
    const double fx = law.F(x);
    if (std::fabs(fx - p) < tol) return x;
    if (fx < p) {
      x_low = x;
    } else {
      x_high = x;
    }
    const double d = law.f(x);
    if (d != 0.0) x = x - (fx - p) / d;
    if (x <= x_low || x >= x_high) x = (x_low + x_high) * 0.5;
  }
  return x;
}

double TCValueBiExp::CValue() { return olvend::ThreadValue(*this); }
