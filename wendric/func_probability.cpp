#include "wendric/func_probability.h"

#include <algorithm>
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace {

namespace policies = boost::math::policies;

// Errors come back as values (NaN or infinity) instead of exceptions; the
// arguments are checked before any law is built, and a value that is still
// not a probability falls back to the undefined-law answer below. Doubles are
// evaluated in double, not promoted to long double, at a fraction of the cost:
// the header states the accuracy that keeps.
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

// Where the argument of an incomplete beta or gamma function falls below
// 1e-300, forming it in double underflows or leaves it subnormal with few
// digits, and a squared or scaled argument overflows: the laws' far tails then
// come out 0 or far off. There the functions are their first terms, taken
// through the argument's logarithm; the terms after the first are below
// 1e-17 of it.
constexpr double kLogTiny = -690.0;  // ln 1e-300 is -690.8

double LogBeta(double a, double b) {
  const double beta = boost::math::beta(a, b, QuietPolicy());
  return std::isnormal(beta) ? std::log(beta) : std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
}

// I_z(a, b) = z^a (1 - z)^b / (a B(a, b)) (1 + (a + b) z / (a + 1) + ...) for
// z = exp(log_z); nothing where z is not that small.
std::optional<double> TinyIncompleteBeta(double a, double b, double log_z) {
  if (!(log_z < kLogTiny && log_z + std::log(a + b) < -40.0)) return std::nullopt;
  return std::exp(a * log_z - std::log(a) - LogBeta(a, b));
}

// P(a, y) = y^a e^-y / Γ(a + 1) (1 + y / (a + 1) + ...) for y = exp(log_y).
std::optional<double> TinyIncompleteGamma(double a, double log_y) {
  if (!(log_y < kLogTiny)) return std::nullopt;
  return std::exp(a * log_y - std::lgamma(a + 1.0));
}

// The answer for `upper` from a tail that is small, the upper one or not.
auto FromTail(double tail, bool tail_is_upper, bool upper) {
  return [=] { return upper == tail_is_upper ? tail : 1.0 - tail; };
}

}  // namespace

double FuncProbability::Chi2Probability(double x, double degrees, bool upper) {
  if (PositiveFinite(degrees) && x > 0.0) {
    if (const auto lower = TinyIncompleteGamma(degrees / 2, std::log(x) - std::numbers::ln2))
      return Evaluate(true, x, 0.0, kInfinity, upper, FromTail(*lower, false, upper));
  }
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
  if (PositiveFinite(degrees1) && PositiveFinite(degrees2) && x > 0.0 && x < kInfinity) {
    // d1 x / (d1 x + d2) near 0 and d2 / (d2 + d1 x) near 0, the far tails.
    const double log_ratio = std::log(degrees1) + std::log(x) - std::log(degrees2);
    if (const auto lower = TinyIncompleteBeta(degrees1 / 2, degrees2 / 2, log_ratio))
      return Evaluate(true, x, 0.0, kInfinity, upper, FromTail(*lower, false, upper));
    if (const auto tail = TinyIncompleteBeta(degrees2 / 2, degrees1 / 2, -log_ratio))
      return Evaluate(true, x, 0.0, kInfinity, upper, FromTail(*tail, true, upper));
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
  if (PositiveFinite(shape1) && PositiveFinite(shape2) && x > 0.0) {
    if (const auto lower = TinyIncompleteBeta(shape1, shape2, std::log(x)))
      return Evaluate(true, x, 0.0, 1.0, upper, FromTail(*lower, false, upper));
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
  if (PositiveFinite(degrees) && std::isfinite(x) && x != 0.0) {
    // Each tail beyond |x| is I_z(n / 2, 1 / 2) / 2 with z = n / (n + x²).
    const double log_z = std::log(degrees) - 2 * std::log(std::fabs(x));
    if (const auto tail = TinyIncompleteBeta(degrees / 2, 0.5, log_z))
      return Evaluate(true, x, -kInfinity, kInfinity, upper, FromTail(*tail / 2, x > 0.0, upper));
  }
  return Evaluate(PositiveFinite(degrees), x, -kInfinity, kInfinity, upper, OfLaw(x, upper, [degrees] {
                    return boost::math::students_t_distribution<double, QuietPolicy>(degrees);
                  }));
}
