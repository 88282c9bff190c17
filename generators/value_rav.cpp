#include "generators/value_rav.h"

#include <cmath>

#include "generators/constants.h"
#include "generators/uniform_source.h"
#include "platform/exceptions.h"

namespace {

TRavType CheckedKind(TRavType kind) {
  if (kind != rtSystem && kind != rtMultCongruent && kind != rtFracPi) {
    throw Exception("Недопустимый вид датчика равномерно распределенных чисел !");
  }
  return kind;
}

double FractionalPart(double value) {
  double integral = 0.0;
  return std::modf(value, &integral);
}

// The seed truncated toward zero, reduced to its low 32 bits; a seed that is no
// number at all seeds with 0.
std::uint32_t LowBitsOfIntegerPart(double seed) {
  if (!std::isfinite(seed)) return 0;
  const double wrapped = std::fmod(std::trunc(seed), 4294967296.0);
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
}

}  // namespace

TCValueRav::TCValueRav(TRavType kind) : Kind(CheckedKind(kind)) {
  X = olvend::UniformOfDraw(olvend::rand());
  if (Kind == rtMultCongruent) {
    Mult = std::pow(5.0, 13.0);
    X = FractionalPart(Mult * X);
  }
}

TCValueRav::TCValueRav(double seed, TRavType kind) : Kind(CheckedKind(kind)) {
  switch (Kind) {
    case rtSystem:
      olvend::srand(LowBitsOfIntegerPart(seed));
      break;
    case rtMultCongruent:
      Mult = std::pow(5.0, 13.0);
      X = seed;
      break;
    case rtFracPi:
      X = seed;
      break;
  }
}

TCValueRav::~TCValueRav() = default;

double TCValueRav::CValue() {
  double v = 0.0;
  switch (Kind) {
    case rtSystem:
      v = olvend::DrawFraction(olvend::rand());
      break;
    case rtMultCongruent:
      X = FractionalPart(Mult * X);
      v = X;
      break;
    case rtFracPi:
      X = FractionalPart(11.0 * X + olvend::kPi);
      v = X;
      break;
  }
  return olvend::ClampUniform(v);
}
