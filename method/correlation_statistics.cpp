#include "method/correlation_statistics.h"

#include <cmath>
#include <memory>

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

double TCStatCorr::SampleCoefficient(const Matrix* x) {
  const std::unique_ptr<Vector> mean = SampleMean(x);
  const std::unique_ptr<Matrix> covariance = SampleCovariance(x, mean.get());
  return Coefficient(covariance.get());
}

TCStatCorrT::TCStatCorrT(std::int32_t i, std::int32_t j, std::int32_t n) : TCStatCorr(i, j), EffectiveN(n) {}

TCStatCorrT::~TCStatCorrT() = default;

double TCStatCorrT::Statistic(const Matrix* x) {
  const double r = SampleCoefficient(x);
  return (r * std::sqrt(EffectiveN - 2)) / std::sqrt(1 - r * r);
}

TCStatPairT::TCStatPairT(std::int32_t i, std::int32_t j, std::int32_t n) : TCStatCorrT(i, j, n) {}

TCStatPairT::~TCStatPairT() = default;

double TCStatPairT::Coefficient(const Matrix* s) { return brennic::PairCoefficient(*s, I, J); }

TCStatIndividT::TCStatIndividT(std::int32_t i, std::int32_t j, std::int32_t n, std::int32_t q)
    : TCStatCorrT(i, j, n), Q(q) {}

TCStatIndividT::~TCStatIndividT() = default;

double TCStatIndividT::Coefficient(const Matrix* s) { return brennic::PartialCoefficient(*s, I, J, Q); }

TCStatCorrZ0::TCStatCorrZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0)
    : TCStatCorr(i, j), Z0(FisherCentre(n, r0)), EffectiveN(n) {}

TCStatCorrZ0::~TCStatCorrZ0() = default;

double TCStatCorrZ0::Statistic(const Matrix* x) {
  const double r = SampleCoefficient(x);
  return (0.5 * std::log((1 + r) / (1 - r)) - Z0) * std::sqrt(EffectiveN - 3);
}

TCStatPairZ0::TCStatPairZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0)
    : TCStatCorrZ0(i, j, n, r0) {}

TCStatPairZ0::~TCStatPairZ0() = default;

double TCStatPairZ0::Coefficient(const Matrix* s) { return brennic::PairCoefficient(*s, I, J); }

TCStatIndividZ0::TCStatIndividZ0(std::int32_t i, std::int32_t j, std::int32_t n, double r0, std::int32_t q)
    : TCStatCorrZ0(i, j, n, r0), Q(q) {}

TCStatIndividZ0::~TCStatIndividZ0() = default;

double TCStatIndividZ0::Coefficient(const Matrix* s) { return brennic::PartialCoefficient(*s, I, J, Q); }

TCStatF::TCStatF(std::int32_t i, std::int32_t q) : TCStatCorr(i, 0), Q(q) {}

TCStatF::~TCStatF() = default;

double TCStatF::Statistic(const Matrix* x) {
  const std::int32_t p = x->Rows();
  const std::int32_t n = x->Cols();
  const std::int32_t residual_freedom = n - p + Q - 1;
  const std::int32_t regressors = p - Q;
  const double r = SampleCoefficient(x);
  return (residual_freedom * r * r) / ((1 - r * r) * regressors);
}

double TCStatF::Coefficient(const Matrix* s) { return brennic::MultipleCoefficient(*s, I, Q); }
