// Limits shared by the criteria of Quessel.
#pragma once

namespace quessel::internal {

// The lower bound of a transformed value or an interval probability: 1e-10
// held in single precision, so its widened value is 1.000000013351432e-10.
inline constexpr double kEps = 1e-10f;

// Both criteria refuse an empty sample rather than read before its start.
inline constexpr const char* kEmptySampleMessage =
    "Выборка пуста: критериям согласия нужно хотя бы одно значение!";

}  // namespace quessel::internal
