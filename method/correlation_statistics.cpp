#include "method/correlation_statistics.h"

#include <cmath>
#include <cstddef>

#include "linalg/plain_rows.h"
#include "method/correlation_coefficients.h"

namespace {

// The centre of z. The bias term is added: atanh r overestimates atanh r0 by
// about r0 / (2 (n - 1)), and subtracting it would put z off-centre.
double FisherCentre(std::int32_t n, double r0) {
  return 0.5 * (std::log((1 + r0) / (1 - r0)) + r0 / (n - 1));
}

}  // namespace

TCStatCorr::TCStatCorr(std::int32_t i, std::int32_t j) : I(i), J(j) {}

TCStatCorr::~TCStatCorr() = default;

double TCStatCorr::Statistic(const Matrix* x) {
  SampleMoments moments;
  moments.TakeCopy(*x);
  const Matrix covariance = MatrixOfRows(moments.Covariance(), moments.P(), moments.P());
  return StatisticOf(Coefficient(&covariance), moments);
}

double TCStatCorr::FromMoments(SampleMoments& moments) {
  return StatisticOf(CoefficientOf(moments.Covariance(), moments.P()), moments);
}

double TCStatCorr::StatisticOf(double r, SampleMoments& moments) {
  // Also R, which is never negative. Outside (-1, 1) the covariance has lost
  // the coefficient's digits (one observation far out cancels them all), or
  // the statistic would be infinite for a sample that is not exactly
  // degenerate; the observations themselves still hold the coefficient.
  if (std::fabs(r) < 1.0) return FromCoefficient(r, moments.P(), moments.N());
  return FromSampleCoefficient(CoefficientOfSample(moments), moments.P(), moments.N());
}

double TCStatCorr::CoefficientOf(const double* s, std::int32_t p) {
  const Matrix covariance = MatrixOfRows(s, p, p);
  return Coefficient(&covariance);
}

double TCStatCorr::PlainCoefficient(const Matrix& s) {
  // Through the bounds-tested access: a matrix that is not square reports what it lacks.
  const std::int32_t p = s.Rows();
  std::vector<double> plain(static_cast<std::size_t>(p) * static_cast<std::size_t>(p));
  for (std::int32_t a = 0; a < p; ++a) {
    for (std::int32_t b = 0; b < p; ++b) plain[static_cast<std::size_t>(a) * p + b] = s[a][b];
  }
  return CoefficientOf(plain.data(), p);
}

TCStatCorrT::TCStatCorrT(std::int32_t i, std::int32_t j, std::int32_t n) : TCStatCorr(i, j), EffectiveN(n) {}

TCStatCorrT::~TCStatCorrT() = default;

double TCStatCorrT::FromCoefficient(double r, std::int32_t, std::int32_t) {
  return (r * std::sqrt(EffectiveN - 2)) / std::sqrt(1 - r * r);
}

double TCStatCorrT::FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t, std::int32_t) {
  return (c.r * std::sqrt(EffectiveN - 2)) / std::sqrt(c.complement);
}

TCStatPairT::TCStatPairT(std::int32_t i, std::int32_t j, std::int32_t n) : TCStatCorrT(i, j, n) {}

TCStatPairT::~TCStatPairT() = default;

double TCStatPairT::Coefficient(const Matrix* s) { return PlainCoefficient(*s); }

double TCStatPairT::CoefficientOf(const double* s, std::int32_t p) {
  return brennic::PairCoefficient(s, p, I, J);
}

brennic::SampleCoefficient TCStatPairT::CoefficientOfSample(SampleMoments& moments) {
  return brennic::PairCoefficientOfSample(moments, I, J, work_);
}

TCStatIndividT::TCStatIndividT(std::int32_t i, std::int32_t j, std::int32_t n, std::int32_t q)
    : TCStatCorrT(i, j, n), Q(q) {}

TCStatIndividT::~TCStatIndividT() = default;

double TCStatIndividT::Coefficient(const Matrix* s) { return PlainCoefficient(*s); }

double TCStatIndividT::CoefficientOf(const double* s, std::int32_t p) {
  return brennic::PartialCoefficient(s, p, I, J, Q, work_);
}

brennic::SampleCoefficient TCStatIndividT::CoefficientOfSample(SampleMoments& moments) {
  return brennic::PartialCoefficientOfSample(moments, I, J, Q, work_);
}

TCStatCorrZ0::TCStatCorrZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0)
    : TCStatCorr(i, j), Z0(FisherCentre(n, r0)), EffectiveN(n) {}

TCStatCorrZ0::~TCStatCorrZ0() = default;

double TCStatCorrZ0::FromCoefficient(double r, std::int32_t, std::int32_t) {
  return (0.5 * std::log((1 + r) / (1 - r)) - Z0) * std::sqrt(EffectiveN - 3);
}

double TCStatCorrZ0::FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t, std::int32_t) {
  // (1 + |r|) / (1 - |r|) = (1 + |r|)² / (1 - r²): the small difference is
  // taken from the complement, never from r.
  const double atanh = std::copysign(std::log(1 + std::fabs(c.r)) - 0.5 * std::log(c.complement), c.r);
  return (atanh - Z0) * std::sqrt(EffectiveN - 3);
}

TCStatPairZ0::TCStatPairZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0)
    : TCStatCorrZ0(i, j, n, r0) {}

TCStatPairZ0::~TCStatPairZ0() = default;

double TCStatPairZ0::Coefficient(const Matrix* s) { return PlainCoefficient(*s); }

double TCStatPairZ0::CoefficientOf(const double* s, std::int32_t p) {
  return brennic::PairCoefficient(s, p, I, J);
}

brennic::SampleCoefficient TCStatPairZ0::CoefficientOfSample(SampleMoments& moments) {
  return brennic::PairCoefficientOfSample(moments, I, J, work_);
}

TCStatIndividZ0::TCStatIndividZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0, std::int32_t q)
    : TCStatCorrZ0(i, j, n, r0), Q(q) {}

TCStatIndividZ0::~TCStatIndividZ0() = default;

double TCStatIndividZ0::Coefficient(const Matrix* s) { return PlainCoefficient(*s); }

double TCStatIndividZ0::CoefficientOf(const double* s, std::int32_t p) {
  return brennic::PartialCoefficient(s, p, I, J, Q, work_);
}

brennic::SampleCoefficient TCStatIndividZ0::CoefficientOfSample(SampleMoments& moments) {
  return brennic::PartialCoefficientOfSample(moments, I, J, Q, work_);
}

TCStatF::TCStatF(std::int32_t i, std::int32_t q) : TCStatCorr(i, 0), Q(q) {}

TCStatF::~TCStatF() = default;

double TCStatF::FromCoefficient(double r, std::int32_t p, std::int32_t n) {
  const std::int32_t residual_freedom = n - p + Q - 1;
  const std::int32_t regressors = p - Q;
  return (residual_freedom * r * r) / ((1 - r * r) * regressors);
}

double TCStatF::FromSampleCoefficient(const brennic::SampleCoefficient& c, std::int32_t p, std::int32_t n) {
  const std::int32_t residual_freedom = n - p + Q - 1;
  const std::int32_t regressors = p - Q;
  return (residual_freedom * c.r * c.r) / (c.complement * regressors);
}

double TCStatF::Coefficient(const Matrix* s) { return PlainCoefficient(*s); }

double TCStatF::CoefficientOf(const double* s, std::int32_t p) {
  return brennic::MultipleCoefficient(s, p, I, Q, work_);
}

brennic::SampleCoefficient TCStatF::CoefficientOfSample(SampleMoments& moments) {
  return brennic::MultipleCoefficientOfSample(moments, I, Q, work_);
}
