// Uniform values strictly inside (0, 1): from the thread's source (the kind every
// other generator uses) or from one of two generators with a state of their own.
#pragma once

#include <cstdint>

#include "generators/value_uni.h"
#include "platform/export.h"

enum TRavType : std::uint8_t {
  rtSystem = 1,         // the thread's source: rand() / 32767
  rtMultCongruent = 2,  // X becomes frac(5^13 * X)
  rtFracPi = 3,         // X becomes frac(11 * X + pi)
};

class WB_EXPORT TCValueRav : public TCValueUni {
 public:
  // Draws exactly one rand() whatever the kind; it starts the state of kinds 2 and 3.
  // A kind outside 1 to 3 is refused with Exception.
  explicit TCValueRav(TRavType kind);
  // Draws nothing; kind 1 seeds the thread's source with the seed's integer part.
  // A kind outside 1 to 3 is refused with Exception.
  TCValueRav(double seed, TRavType kind);
  ~TCValueRav() override;

  // A value in [1e-10, 1 - 1e-10]; the clamp never changes the state.
  double CValue() override;

 private:
  TRavType Kind;
  double X = 0.0;
  double Mult = 0.0;
};
