// Statistics for the hypothesis that the mean vector equals a known M0:
// X2 when the covariance is known, Hotelling's T2 (scaled to Fisher's law)
// when it is estimated from each sample.
#pragma once

#include <memory>

#include "method/statistic.h"

class TCStatMean : public TCStatistic {
 public:
  // Keeps a copy of m0; the caller keeps its own.
  explicit TCStatMean(const Vector* m0);
  ~TCStatMean() override;

 protected:
  // mean - M0 as a p x 1 column.
  Matrix DeviationColumn(const Vector& mean) const;

 private:
  std::unique_ptr<Vector> M0;
};

class TCStatX2 : public TCStatMean {
 public:
  // Inverts sigma once for the whole run; sigma itself is not kept.
  TCStatX2(const Vector* m0, const Matrix* sigma);
  ~TCStatX2() override;

  // N (x̄ - M0)ᵀ Σ⁻¹ (x̄ - M0), the chi-square statistic with p degrees of freedom.
  double Statistic(const Matrix* x) override;

 private:
  std::unique_ptr<Matrix> SigmaInv;
};

class TCStatT2 : public TCStatMean {
 public:
  explicit TCStatT2(const Vector* m0);
  ~TCStatT2() override;

  // N dᵀ S⁻¹ d (N - p) / (p (N - 1)), Fisher's law with p and N - p degrees
  // of freedom for normal samples.
  double Statistic(const Matrix* x) override;
};
