#include "generators/univariate.h"

#include <cmath>

#include "generators/constants.h"

TCValueNorm::TCValueNorm(double mean, double sd) : mean_(mean), sd_(sd) {}
TCValueNorm::~TCValueNorm() = default;

double TCValueNorm::CValue() {
  double value = 0.0;
  TCValueNorm::CValues(&value, 1);
  return value;
}

void TCValueNorm::CValues(double* values, std::int32_t count) {
  olvend::HeldSource source;
  for (std::int32_t i = 0; i < count; ++i) {
    double z = kept_;
    if (new_pair_) {
      source.Draw();  // the fresh uniform generator's own draw, dropped
      const int first = source.Draw();
      const int second = source.Draw();
      const double radius = radius_.At(first, [](int draw) {
        return std::array{std::sqrt(std::log(olvend::UniformOfDraw(draw)) * -2.0)};
      })[0];
      const auto turn = turn_.At(second, [](int draw) {
        const double u = olvend::UniformOfDraw(draw);
        return std::array{std::sin(olvend::kTwoPi * u), std::cos(olvend::kTwoPi * u)};
      });
      z = radius * turn[0];
      kept_ = radius * turn[1];
    }
    new_pair_ = !new_pair_;
    values[i] = sd_ * z + mean_;
  }
}

TCValueLog::TCValueLog(double mean, double s)
    : mean_(mean),
      factor_(static_cast<double>(static_cast<long double>(std::sqrt(3.0)) * (1.0L / olvend::kPi) * s)) {}
TCValueLog::~TCValueLog() = default;

double TCValueLog::CValue() {
  double value = 0.0;
  TCValueLog::CValues(&value, 1);
  return value;
}

void TCValueLog::CValues(double* values, std::int32_t count) {
  olvend::DrawLawValues(values_, values, count,
                        [this](double u) { return mean_ - factor_ * std::log((1.0 - u) / u); });
}

TCValueLaplas::TCValueLaplas(double mean, double s) : mean_(mean), b_(s * olvend::kSqrt2Single) {}
TCValueLaplas::~TCValueLaplas() = default;

double TCValueLaplas::CValue() {
  double value = 0.0;
  TCValueLaplas::CValues(&value, 1);
  return value;
}

void TCValueLaplas::CValues(double* values, std::int32_t count) {
  olvend::DrawLawValues(values_, values, count, [this](double u) {
    if (u > 0.5) return mean_ - std::log((1.0 - u) * 2.0) * b_;
    return std::log(2.0 * u) * b_ + mean_;
  });
}

TCValueKoshi::TCValueKoshi(double location, double scale) : location_(location), scale_(scale) {}
TCValueKoshi::~TCValueKoshi() = default;

double TCValueKoshi::CValue() {
  double value = 0.0;
  TCValueKoshi::CValues(&value, 1);
  return value;
}

void TCValueKoshi::CValues(double* values, std::int32_t count) {
  olvend::DrawLawValues(values_, values, count,
                        [this](double u) { return std::tan((u - 0.5) * olvend::kPi) * scale_ + location_; });
}
