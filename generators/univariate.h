// Generators of the normal, logistic, Laplace and Cauchy laws. Each value comes
// from fresh uniform draws of the thread's source in a fixed order (law_draws.h);
// no parameter is tested, so a zero or negative scale applies as it stands. An
// object holds exactly the fields of its interface, since callers allocate it
// by that size. What a law makes of one draw is looked up in the library's
// tables (draw_table.h).
//
// CValues, the values of as many calls of CValue, is defined here and hidden
// from the library's exports: whoever draws many values at once compiles it
// with a source of its own choosing, the library with the calling thread's.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "generators/constants.h"
#include "generators/draw_table.h"
#include "generators/law_draws.h"
#include "generators/uniform_source.h"
#include "generators/value_uni.h"
#include "platform/export.h"

// Box-Muller: the sine value of each pair is returned first, the cosine value
// is kept for the next call (three draws per pair, none for the kept value).
class WB_EXPORT TCValueNorm : public TCValueUni {
 public:
  TCValueNorm(double mean, double sd);
  ~TCValueNorm() override;
  double CValue() override;
  template <class Source>
  [[gnu::visibility("hidden")]] void CValues(Source& source, double* values, std::int32_t count);

 private:
  double mean_;
  double sd_;
  bool new_pair_ = true;  // the next call starts a pair
  double kept_ = 0.0;     // the second standard value of the current pair
};

// Logistic law with standard deviation s (two draws per value).
class WB_EXPORT TCValueLog : public TCValueUni {
 public:
  TCValueLog(double mean, double s);
  ~TCValueLog() override;
  double CValue() override;
  template <class Source>
  [[gnu::visibility("hidden")]] void CValues(Source& source, double* values, std::int32_t count);

 private:
  double mean_;
  double s_;
};

// Laplace law with density exp(-|x - mean| / b) / (2b), b = s * sqrt(2) in single
// precision (two draws per value).
class WB_EXPORT TCValueLaplas : public TCValueUni {
 public:
  TCValueLaplas(double mean, double s);
  ~TCValueLaplas() override;
  double CValue() override;
  template <class Source>
  [[gnu::visibility("hidden")]] void CValues(Source& source, double* values, std::int32_t count);

 private:
  double mean_;
  double b_;
};

// Cauchy law with median `location` and half-width `scale` (two draws per value).
class WB_EXPORT TCValueKoshi : public TCValueUni {
 public:
  TCValueKoshi(double location, double scale);
  ~TCValueKoshi() override;
  double CValue() override;
  template <class Source>
  [[gnu::visibility("hidden")]] void CValues(Source& source, double* values, std::int32_t count);

 private:
  double location_;
  double scale_;
};

namespace olvend {

// What the laws make of a draw, the parameters left out: each value is then
// one multiplication and one addition away, with the very roundings of the
// whole formula.
struct NormalRadius;
struct NormalTurn;
struct LogisticLogarithm;
struct LaplaceLogarithm;
struct CauchyTangent;

inline double NormalRadiusOf(int draw) { return std::sqrt(std::log(UniformOfDraw(draw)) * -2.0); }

inline std::array<double, 2> NormalTurnOf(int draw) {
  const double u = UniformOfDraw(draw);
  return {std::sin(kTwoPi * u), std::cos(kTwoPi * u)};
}

inline double LogisticLogarithmOf(int draw) {
  const double u = UniformOfDraw(draw);
  return std::log((1.0 - u) / u);
}

// mean - ln((1 - u) 2) b above the median is ln((1 - u) 2) negated times b
// plus the mean, to the bit: negation is exact.
inline double LaplaceLogarithmOf(int draw) {
  const double u = UniformOfDraw(draw);
  if (u > 0.5) return -std::log((1.0 - u) * 2.0);
  return std::log(2.0 * u);
}

inline double CauchyTangentOf(int draw) { return std::tan((UniformOfDraw(draw) - 0.5) * kPi); }

// sqrt(3) / pi * s, formed in extended precision and rounded once.
inline double LogisticFactor(double s) {
  return static_cast<double>(static_cast<long double>(std::sqrt(3.0)) * (1.0L / kPi) * s);
}

// `count` draws' entries of the table of `Tag`, one value's draws each.
template <class Tag, class Source, class Law>
void DrawInverted(Source& source, double (*of_draw)(int), double* values, std::int32_t count, Law law) {
  DrawTable<1>& table = LibraryTable<Tag, 1>();
  for (std::int32_t i = 0; i < count; ++i) {
    values[i] =
        law(table.At(ValueDraw(source), [of_draw](int draw) { return std::array{of_draw(draw)}; })[0]);
  }
}

}  // namespace olvend

template <class Source>
void TCValueNorm::CValues(Source& source, double* values, std::int32_t count) {
  olvend::DrawTable<1>& radii = olvend::LibraryTable<olvend::NormalRadius, 1>();
  olvend::DrawTable<2>& turns = olvend::LibraryTable<olvend::NormalTurn, 2>();
  // In locals: `values` might alias the fields as far as the compiler knows.
  const double mean = mean_;
  const double sd = sd_;
  bool new_pair = new_pair_;
  double kept = kept_;
  for (std::int32_t i = 0; i < count; ++i) {
    double z = kept;
    if (new_pair) {
      const auto [first, second] = olvend::PairDraws(source);
      const double radius =
          radii.At(first, [](int draw) { return std::array{olvend::NormalRadiusOf(draw)}; })[0];
      const auto turn = turns.At(second, olvend::NormalTurnOf);
      z = radius * turn[0];
      kept = radius * turn[1];
    }
    new_pair = !new_pair;
    values[i] = sd * z + mean;
  }
  new_pair_ = new_pair;
  kept_ = kept;
}

template <class Source>
void TCValueLog::CValues(Source& source, double* values, std::int32_t count) {
  const double mean = mean_;
  const double factor = olvend::LogisticFactor(s_);
  olvend::DrawInverted<olvend::LogisticLogarithm>(
      source, olvend::LogisticLogarithmOf, values, count,
      [mean, factor](double logarithm) { return mean - factor * logarithm; });
}

template <class Source>
void TCValueLaplas::CValues(Source& source, double* values, std::int32_t count) {
  const double mean = mean_;
  const double b = b_;
  olvend::DrawInverted<olvend::LaplaceLogarithm>(
      source, olvend::LaplaceLogarithmOf, values, count,
      [mean, b](double logarithm) { return logarithm * b + mean; });
}

template <class Source>
void TCValueKoshi::CValues(Source& source, double* values, std::int32_t count) {
  const double location = location_;
  const double scale = scale_;
  olvend::DrawInverted<olvend::CauchyTangent>(
      source, olvend::CauchyTangentOf, values, count,
      [location, scale](double tangent) { return tangent * scale + location; });
}
