// Generators of the normal, logistic, Laplace and Cauchy laws. Each value comes
// from fresh uniform draws of the thread's source in a fixed order; no parameter
// is tested, so a zero or negative scale applies as it stands.
#pragma once

#include "generators/value_uni.h"
#include "platform/export.h"

// Box-Muller: the sine value of each pair is returned first, the cosine value
// is kept for the next call (three draws per pair, none for the kept value).
class WB_EXPORT TCValueNorm : public TCValueUni {
 public:
  TCValueNorm(double mean, double sd);
  ~TCValueNorm() override;
  double CValue() override;

 private:
  double mean_;
  double sd_;
  bool new_pair_ = true;
  double kept_ = 0.0;
};

// Logistic law with standard deviation s (two draws per value).
class WB_EXPORT TCValueLog : public TCValueUni {
 public:
  TCValueLog(double mean, double s);
  ~TCValueLog() override;
  double CValue() override;

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

 private:
  double location_;
  double scale_;
};
