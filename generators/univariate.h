// Generators of the normal, logistic, Laplace and Cauchy laws. Each value comes
// from fresh uniform draws of the thread's source in a fixed order; no parameter
// is tested, so a zero or negative scale applies as it stands. What a law makes
// of one draw is looked up in a table filled as the draws come up. The bulk
// draws CValues, the values of as many calls of CValue, are hidden from the
// library's exports and reached through olvend::BulkDrawOf.
#pragma once

#include <cstdint>

#include "generators/draw_table.h"
#include "generators/value_uni.h"
#include "platform/export.h"

// Box-Muller: the sine value of each pair is returned first, the cosine value
// is kept for the next call (three draws per pair, none for the kept value).
class WB_EXPORT TCValueNorm : public TCValueUni {
 public:
  TCValueNorm(double mean, double sd);
  ~TCValueNorm() override;
  double CValue() override;
  [[gnu::visibility("hidden")]] void CValues(double* values, std::int32_t count);

 private:
  double mean_;
  double sd_;
  bool new_pair_ = true;
  double kept_ = 0.0;
  olvend::DrawTable<1> radius_;  // sqrt(-2 ln u) by the draw of u
  olvend::DrawTable<2> turn_;    // sin(2 pi u) and cos(2 pi u) by the draw of u
};

// Logistic law with standard deviation s (two draws per value).
class WB_EXPORT TCValueLog : public TCValueUni {
 public:
  TCValueLog(double mean, double s);
  ~TCValueLog() override;
  double CValue() override;
  [[gnu::visibility("hidden")]] void CValues(double* values, std::int32_t count);

 private:
  double mean_;
  double factor_;  // sqrt(3) / pi * s, formed in extended precision: the scale s enters only here
  olvend::DrawTable<1> values_;
};

// Laplace law with density exp(-|x - mean| / b) / (2b), b = s * sqrt(2) in single
// precision (two draws per value).
class WB_EXPORT TCValueLaplas : public TCValueUni {
 public:
  TCValueLaplas(double mean, double s);
  ~TCValueLaplas() override;
  double CValue() override;
  [[gnu::visibility("hidden")]] void CValues(double* values, std::int32_t count);

 private:
  double mean_;
  double b_;
  olvend::DrawTable<1> values_;
};

// Cauchy law with median `location` and half-width `scale` (two draws per value).
class WB_EXPORT TCValueKoshi : public TCValueUni {
 public:
  TCValueKoshi(double location, double scale);
  ~TCValueKoshi() override;
  double CValue() override;
  [[gnu::visibility("hidden")]] void CValues(double* values, std::int32_t count);

 private:
  double location_;
  double scale_;
  olvend::DrawTable<1> values_;
};
