// Numeric constants shared by the generators; their exact values (double or
// single precision) are part of every value the library draws.
#pragma once

namespace olvend {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// The square root of 2 rounded to single precision, then used as a double.
inline constexpr double kSqrt2Single = static_cast<float>(1.4142135623730951);

// Every uniform value lies in [kUniformBound, 1 - kUniformBound].
inline constexpr double kUniformBound = 1e-10;

}  // namespace olvend
