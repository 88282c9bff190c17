#include "generators/univariate.h"

#include <cmath>

#include "generators/constants.h"
#include "generators/value_rav.h"

namespace {

// A fresh uniform generator per value: its constructor draws one value that is
// dropped, then the value used is the next draw.
double FreshUniform() {
  TCValueRav uniform(rtSystem);
  return uniform.CValue();
}

}  // namespace

TCValueNorm::TCValueNorm(double mean, double sd) : mean_(mean), sd_(sd) {}
TCValueNorm::~TCValueNorm() = default;

double TCValueNorm::CValue() {
  double z = kept_;
  if (new_pair_) {
    TCValueRav uniform(rtSystem);
    const double u1 = uniform.CValue();
    const double u2 = uniform.CValue();
    const double r = std::sqrt(std::log(u1) * -2.0);
    z = r * std::sin(olvend::kTwoPi * u2);
    kept_ = r * std::cos(olvend::kTwoPi * u2);
  }
  new_pair_ = !new_pair_;
  return sd_ * z + mean_;
}

TCValueLog::TCValueLog(double mean, double s) : mean_(mean), s_(s) {}
TCValueLog::~TCValueLog() = default;

double TCValueLog::CValue() {
  const double u = FreshUniform();
  const double factor =
      static_cast<double>(static_cast<long double>(std::sqrt(3.0)) * (1.0L / olvend::kPi) * s_);
  return mean_ - factor * std::log((1.0 - u) / u);
}

TCValueLaplas::TCValueLaplas(double mean, double s) : mean_(mean), b_(s * olvend::kSqrt2Single) {}
TCValueLaplas::~TCValueLaplas() = default;

double TCValueLaplas::CValue() {
  const double u = FreshUniform();
  if (u > 0.5) return mean_ - std::log((1.0 - u) * 2.0) * b_;
  return std::log(2.0 * u) * b_ + mean_;
}

TCValueKoshi::TCValueKoshi(double location, double scale) : location_(location), scale_(scale) {}
TCValueKoshi::~TCValueKoshi() = default;

double TCValueKoshi::CValue() {
  const double u = FreshUniform();
  return std::tan((u - 0.5) * olvend::kPi) * scale_ + location_;
}
