// Statistics for the hypothesis that the mean vector equals a known M0:
// X2 when the covariance is known, Hotelling's T2 (scaled to Fisher's law)
// when it is estimated from each sample.
#pragma once

#include <cstdint>
#include <vector>

#include "method/statistic.h"

class TCStatMean : public TCStatistic {
 public:
  // Keeps a copy of m0; the caller keeps its own.
  explicit TCStatMean(const Vector* m0);
  ~TCStatMean() override;

  double Statistic(const Matrix* x) override;

 protected:
  // dᵀ a d for d = mean - M0 and a p x p matrix a in plain rows, in the order
  // of the matrix products (dᵀ a) d; NaN when M0 is not of size p.
  double DeviationForm(const double* mean, const double* a, std::int32_t p);

 private:
  std::vector<double> M0;
  std::vector<double> deviation_;
};

class TCStatX2 : public TCStatMean {
 public:
  // Inverts sigma once for the whole run; sigma itself is not kept.
  TCStatX2(const Vector* m0, const Matrix* sigma);
  ~TCStatX2() override;

  // N (x̄ - M0)ᵀ Σ⁻¹ (x̄ - M0), the chi-square statistic with p degrees of
  // freedom; NaN for a sample whose p is not the order of Σ.
  double FromMoments(SampleMoments& moments) override;

 private:
  std::vector<double> SigmaInv;  // row by row
  std::int32_t order_;
};

class TCStatT2 : public TCStatMean {
 public:
  explicit TCStatT2(const Vector* m0);
  ~TCStatT2() override;

  // N dᵀ S⁻¹ d (N - p) / (p (N - 1)), Fisher's law with p and N - p degrees
  // of freedom for normal samples.
  double FromMoments(SampleMoments& moments) override;

 private:
  std::vector<double> work_;     // [S | I] for the inversion
  std::vector<double> inverse_;  // S⁻¹
};
