// The exponential-power law (density falling off as exp(-|z|^c)): values by
// numerical inversion of its distribution function, a bracketing walk followed by
// Newton steps with a bisection fallback. The inversion is costly, so each
// value is kept by the draw it came from, in the library's table for the
// law's parameters, and looked up when the draw comes up again. An object
// holds exactly the three parameters, since callers allocate it by that size.
#pragma once

#include <array>
#include <cstdint>

#include "generators/draw_table.h"
#include "generators/law_draws.h"
#include "generators/uniform_source.h"
#include "generators/value_uni.h"
#include "platform/export.h"

class WB_EXPORT TCValueBiExp : public TCValueUni {
 public:
  // Location a, scale b, shape c. A parameter that is not finite, a scale of 0
  // or a shape of 0 or below is refused with Exception: every value would be
  // NaN, and the law's functions divide by the scale and the shape.
  TCValueBiExp(double a, double b, double c);
  ~TCValueBiExp() override;

  // Distribution function.
  double F(double x);
  // Density.
  double f(double x);
  // A point whose F lies within tol of p: the location for p within 1e-10 of
  // 0 or 1, +-1e100 when the walk gives up, otherwise the best of at most
  // 50 + 50 evaluations of F.
  double InvF(double p, double tol);

  // Two draws per value.
  double CValue() override;
  // The values of `count` calls of CValue, drawn from `source`; defined here
  // and hidden from the exports, as for the laws of univariate.h.
  template <class Source>
  [[gnu::visibility("hidden")]] void CValues(Source& source, double* values, std::int32_t count);

 private:
  double a_;
  double b_;
  double c_;
};

template <class Source>
void TCValueBiExp::CValues(Source& source, double* values, std::int32_t count) {
  olvend::DrawTable<1>* table = olvend::ExpPowerTable(a_, b_, c_);
  auto invert = [this](int draw) { return std::array{InvF(olvend::UniformOfDraw(draw), 1e-10)}; };
  for (std::int32_t i = 0; i < count; ++i) {
    const int draw = olvend::ValueDraw(source);
    values[i] = (table != nullptr ? table->At(draw, invert) : invert(draw))[0];
  }
}
