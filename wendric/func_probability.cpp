#include "wendric/func_probability.h"

#include <algorithm>
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

namespace policies = boost::math::policies;

// Errors come back as values (NaN or infinity) instead of exceptions; the
// arguments are checked before any law is built, and a value that is still
// not a probability falls back to the undefined-law answer below. Doubles are
// evaluated in double, not promoted to long double: within 1e-13 relative of
// the exact values all the same, at a fraction of the cost.
using QuietPolicy = policies::policy<
    policies::promote_double<false>, policies::domain_error<policies::ignore_error>,
    policies::pole_error<policies::ignore_error>, policies::overflow_error<policies::ignore_error>,
    policies::underflow_error<policies::ignore_error>, policies::denorm_error<policies::ignore_error>,
    policies::evaluation_error<policies::ignore_error>, policies::rounding_error<policies::ignore_error>,
    policies::indeterminate_result_error<policies::ignore_error>>;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool PositiveFinite(double value) { return std::isfinite(value) && value > 0.0; }

// F is exactly 0 or 1 here, so its complement is exact as well.
double Limit(double distribution, bool upper) { return upper ? 1.0 - distribution : distribution; }

// The law's support is (low, high); probability() gives F(x) or its upper
// tail and is called only once the argument is known to lie inside.
template <class Probability>
double Evaluate(bool law_defined, double x, double low, double high, bool upper, Probability probability) {
  if (!law_defined || std::isnan(x) || x <= low) return Limit(0.0, upper);
  if (x >= high) return Limit(1.0, upper);
  try {
    const double p = probability();
    if (!std::isnan(p)) return std::clamp(p, 0.0, 1.0);
  } catch (...) {
    // Nothing may leave the library; fall through to the defined answer.
  }
  return Limit(0.0, upper);
}

// The probability of the Boost law that make_law builds.
template <class MakeLaw>
auto OfLaw(double x, bool upper, MakeLaw make_law) {
  return [x, upper, make_law] {
    const auto law = make_law();
    return upper ? cdf(complement(law, x)) : cdf(law, x);
  };
}

// Three laws the runs meet at their edges have elementary distribution
// functions, where the general evaluation in double loses up to about 1e-9
// relative (Student t(1) near 0, F(1, 1) and beta(1/2, 1/2) in their far
// tails). As angles both tails come out to a few units in the last place:
// the angle of the point (x, y) from the x axis in the quarter turn, and the
// rest of the quarter turn, the angle from the y axis.
double QuarterTurnShare(double x, double y, bool upper) {
  return (upper ? std::atan2(x, y) : std::atan2(y, x)) / (std::numbers::pi / 2);
}

// t(1) is the Cauchy law: F(x) = 1/2 + atan(x) / pi, the angle of (-x, 1)
// over a half turn; the upper tail is F(-x).
double CauchyProbability(double x, bool upper) { return std::atan2(1.0, upper ? x : -x) / std::numbers::pi; }

}  // namespace

double FuncProbability::Chi2Probability(double x, double degrees, bool upper) {
  return Evaluate(PositiveFinite(degrees), x, 0.0, kInfinity, upper, OfLaw(x, upper, [degrees] {
                    return boost::math::chi_squared_distribution<double, QuietPolicy>(degrees);
                  }));
}

double FuncProbability::fProbability(double x, double degrees1, double degrees2, bool upper) {
  if (degrees1 == 1.0 && degrees2 == 1.0) {
    // The ratio of two squared standard normal values: F(x) is the share of
    // the quarter turn below the angle whose tangent is sqrt(x).
    return Evaluate(true, x, 0.0, kInfinity, upper,
                    [x, upper] { return QuarterTurnShare(1.0, std::sqrt(x), upper); });
  }
  return Evaluate(PositiveFinite(degrees1) && PositiveFinite(degrees2), x, 0.0, kInfinity, upper,
                  OfLaw(x, upper, [degrees1, degrees2] {
                    return boost::math::fisher_f_distribution<double, QuietPolicy>(degrees1, degrees2);
                  }));
}

double FuncProbability::NormProbability(double x, double mean, double deviation, bool upper) {
  return Evaluate(std::isfinite(mean) && PositiveFinite(deviation), x, -kInfinity, kInfinity, upper,
                  OfLaw(x, upper, [mean, deviation] {
                    return boost::math::normal_distribution<double, QuietPolicy>(mean, deviation);
                  }));
}

double FuncProbability::BetaProbability(double x, double shape1, double shape2, bool upper) {
  if (shape1 == 0.5 && shape2 == 0.5) {
    // The arcsine law: F(x) = (2 / pi) asin(sqrt x), the angle of
    // (sqrt(1 - x), sqrt x); 1 - x loses nothing where the upper tail is small.
    return Evaluate(true, x, 0.0, 1.0, upper,
                    [x, upper] { return QuarterTurnShare(std::sqrt(1.0 - x), std::sqrt(x), upper); });
  }
  return Evaluate(PositiveFinite(shape1) && PositiveFinite(shape2), x, 0.0, 1.0, upper,
                  OfLaw(x, upper, [shape1, shape2] {
                    return boost::math::beta_distribution<double, QuietPolicy>(shape1, shape2);
                  }));
}

double FuncProbability::tProbability(double x, double degrees, bool upper, bool /*reserved*/) {
  if (degrees == 1.0)
    return Evaluate(true, x, -kInfinity, kInfinity, upper,
                    [x, upper] { return CauchyProbability(x, upper); });
  return Evaluate(PositiveFinite(degrees), x, -kInfinity, kInfinity, upper, OfLaw(x, upper, [degrees] {
                    return boost::math::students_t_distribution<double, QuietPolicy>(degrees);
                  }));
}
