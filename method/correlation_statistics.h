// Statistics about correlation coefficients among the p variables of a
// sample: t for a zero pair or partial coefficient, Fisher's z for a pair or
// partial coefficient equal to r0, F for a zero multiple coefficient. The t
// and z formulas obtain their coefficient through Coefficient, so one formula
// serves the pair and the partial coefficient.
#pragma once

#include <cstdint>
#include <vector>

#include "method/correlation_coefficients.h"
#include "method/statistic.h"

class TCStatCorr : public TCStatistic {
 public:
  TCStatCorr(std::int32_t i, std::int32_t j);
  ~TCStatCorr() override;

  // The statistic from the coefficient of the sample's own covariance about
  // its own mean: the matrix form through Coefficient, the run's path through
  // CoefficientOf.
  double Statistic(const Matrix* x) override;
  double FromMoments(SampleMoments& moments) override;

  // The coefficient the statistic is built on, from a p x p covariance matrix.
  virtual double Coefficient(const Matrix* s) = 0;
  // The same from the matrix held row by row in plain storage. A statistic
  // that knows only the matrix form is evaluated through it.
  virtual double CoefficientOf(const double* s, std::int32_t p);
  // The same from the sample's observations, for a sample whose covariance
  // gives no coefficient inside (-1, 1).
  virtual brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) = 0;

  // 0-based variables (rows of the sample) whose coefficient is tested.
  const std::int32_t I;
  const std::int32_t J;

 protected:
  // The statistic from its coefficient r for a sample of p variables and N
  // observations.
  virtual double FromCoefficient(double r, std::int32_t p, std::int32_t n) = 0;
  // The statistic from a coefficient of CoefficientOfSample.
  virtual double FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t p,
                                       std::int32_t n) = 0;
  // The coefficient of a p x p covariance matrix through CoefficientOf.
  double PlainCoefficient(const Matrix& s);

  // Room for the coefficients' inversions and factors, reused from sample to sample.
  std::vector<double> work_;

 private:
  // The statistic of the sample whose covariance gave r.
  double StatisticOf(double r, SampleMoments& moments);
};

class TCStatCorrT : public TCStatCorr {
 public:
  TCStatCorrT(std::int32_t i, std::int32_t j, std::int32_t n);
  ~TCStatCorrT() override;

  // The observations less the variables partialled out.
  const std::int32_t EffectiveN;

 protected:
  // t = r sqrt(n - 2) / sqrt(1 - r²) with the signed r, Student's law with
  // n - 2 degrees of freedom when the coefficient is zero.
  double FromCoefficient(double r, std::int32_t p, std::int32_t n) override;
  double FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t p, std::int32_t n) override;
};

class TCStatPairT : public TCStatCorrT {
 public:
  TCStatPairT(std::int32_t i, std::int32_t j, std::int32_t n);
  ~TCStatPairT() override;
  double Coefficient(const Matrix* s) override;
  double CoefficientOf(const double* s, std::int32_t p) override;
  brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) override;
};

class TCStatIndividT : public TCStatCorrT {
 public:
  TCStatIndividT(std::int32_t i, std::int32_t j, std::int32_t n, std::int32_t q);
  ~TCStatIndividT() override;
  double Coefficient(const Matrix* s) override;
  double CoefficientOf(const double* s, std::int32_t p) override;
  brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) override;

  // Variables 0..q-1 form the first block; the last p - q are partialled out.
  const std::int32_t Q;
};

class TCStatCorrZ0 : public TCStatCorr {
 public:
  TCStatCorrZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0);
  ~TCStatCorrZ0() override;

  // The mean of atanh r for a coefficient r0: atanh r0 + r0 / (2 (n - 1)).
  const double Z0;
  const std::int32_t EffectiveN;

 protected:
  // z = (atanh r - Z0) sqrt(n - 3), standard normal when the coefficient is r0.
  double FromCoefficient(double r, std::int32_t p, std::int32_t n) override;
  double FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t p, std::int32_t n) override;
};

class TCStatPairZ0 : public TCStatCorrZ0 {
 public:
  TCStatPairZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0);
  ~TCStatPairZ0() override;
  double Coefficient(const Matrix* s) override;
  double CoefficientOf(const double* s, std::int32_t p) override;
  brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) override;
};

class TCStatIndividZ0 : public TCStatCorrZ0 {
 public:
  TCStatIndividZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0, std::int32_t q);
  ~TCStatIndividZ0() override;
  double Coefficient(const Matrix* s) override;
  double CoefficientOf(const double* s, std::int32_t p) override;
  brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) override;

  const std::int32_t Q;
};

class TCStatF : public TCStatCorr {
 public:
  // J is 0 and unused: variable i is regressed on the last p - q variables.
  TCStatF(std::int32_t i, std::int32_t q);
  ~TCStatF() override;

  double Coefficient(const Matrix* s) override;
  double CoefficientOf(const double* s, std::int32_t p) override;
  brennic::SampleCoefficient CoefficientOfSample(SampleMoments& moments) override;

  const std::int32_t Q;

 protected:
  // F = (N - p + q - 1) R² / ((1 - R²)(p - q)), Fisher's law with p - q and
  // N - p + q - 1 degrees of freedom when the multiple coefficient is zero.
  double FromCoefficient(double r, std::int32_t p, std::int32_t n) override;
  double FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t p, std::int32_t n) override;
};
