#include "bench/reference_run.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "generators/uniform_source.h"
#include "method/run_driver.h"

namespace bench {
namespace {

constexpr int kDraws = 32768;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kBound = 1e-10;
constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// The uniform value of a draw, as the generators clamp it.
double Uniform(int draw) {
  const double u = static_cast<double>(draw * (1.0L / 32767.0L));
  if (u < kBound) return kBound;
  if (u <= 1.0 - kBound) return u;
  return 1.0 - kBound;
}

// Gaussian elimination with partial pivoting on the n x 2n rows [A | I], then
// back substitution, every operation of the matrix inversion in its order;
// false at an exactly zero pivot.
bool Invert(double* w, int n) {
  const int width = 2 * n;
  for (int k = 0; k < n; ++k) {
    int row = k;
    double pivot = w[k * width + k];
    for (int i = k + 1; i < n; ++i) {
      if (std::fabs(w[i * width + k]) > std::fabs(pivot)) {
        row = i;
        pivot = w[i * width + k];
      }
    }
    if (pivot == 0.0) return false;
    if (row != k) {
      for (int j = k; j < width; ++j) std::swap(w[k * width + j], w[row * width + j]);
    }
    for (int j = k + 1; j < width; ++j) w[k * width + j] = w[k * width + j] / pivot;
    for (int i = k + 1; i < n; ++i) {
      const double f = w[i * width + k];
      for (int j = k + 1; j < width; ++j) w[i * width + j] = w[i * width + j] - w[k * width + j] * f;
    }
  }
  for (int j = n; j < width; ++j) {
    for (int i = n - 2; i >= 0; --i) {
      double s = w[i * width + j];
      for (int m = i + 1; m < n; ++m) s = s - w[i * width + m] * w[m * width + j];
      w[i * width + j] = s;
    }
  }
  return true;
}

}  // namespace

ReferenceRun::ReferenceRun(const RunParameters& block) : block_(block), p_(block.Dimension), n_(block.N) {
  if (block.TestKind == kTestKindT2) {
    law_ = DistribFunc{dfFisher, static_cast<double>(p_), static_cast<double>(n_ - p_)};
  } else if (block.TestKind == kTestKindIndividT) {
    law_ = DistribFunc{dfStudent, static_cast<double>(n_ - p_ + block.Q - 2), 0.0};
  } else {
    throw std::invalid_argument("the reference knows test kinds 2 and 5 only");
  }
  if (block.GeneratorKind == kGeneratorExpPower) {
    exp_power_ = std::make_unique<TCValueBiExp>(block.GenParam1, block.GenParam2, block.GenParam3);
    law_values_.resize(kDraws);
  } else if (block.GeneratorKind == kGeneratorNormal) {
    radius_.resize(kDraws);
    turn_.resize(kDraws);
  } else {
    throw std::invalid_argument("the reference knows the normal and exponential-power laws only");
  }
  const auto p = static_cast<std::size_t>(p_);
  factor_.assign(p * p, 0.0);
  rows_.assign(p * static_cast<std::size_t>(n_), 0.0);
  draws_.assign(p * static_cast<std::size_t>(n_), 0.0);
  mean_.assign(p, 0.0);
  covariance_.assign(p * p, 0.0);
  if (block.EstimateMean != 0) mean_sum_.assign(p, 0.0);
  if (block.EstimateCovariance != 0) covariance_sum_.assign(p * p, 0.0);
  work_.assign(2 * p * p, 0.0);
  inverse_.assign(p * p, 0.0);
  scratch_.assign(p, 0.0);

  // The Cholesky factor column by column, the root in extended precision.
  for (int i = 0; i < p_; ++i) {
    for (int j = i; j < p_; ++j) {
      double s = 0.0;
      for (int k = 0; k < i; ++k) s += factor_[j * p_ + k] * factor_[i * p_ + k];
      const double difference = block.CovarianceAt(j, i) - s;
      double s2 = 0.0;
      for (int k = 0; k < i; ++k) s2 += factor_[i * p_ + k] * factor_[i * p_ + k];
      factor_[j * p_ + i] = static_cast<double>(
          difference / std::sqrt(static_cast<long double>(block.CovarianceAt(i, i) - s2)));
    }
  }
}

CritVA ReferenceRun::Run(std::uint32_t seed, double* values) {
  state_ = olvend::LcgNext(seed);  // seeding drops one step
  std::fill(radius_.begin(), radius_.end(), kNotComputed);
  std::fill(turn_.begin(), turn_.end(), std::array<double, 2>{kNotComputed, kNotComputed});
  std::fill(law_values_.begin(), law_values_.end(), kNotComputed);
  std::fill(mean_sum_.begin(), mean_sum_.end(), 0.0);
  std::fill(covariance_sum_.begin(), covariance_sum_.end(), 0.0);
  new_pair_ = true;
  kept_ = 0.0;
  CritVA sums{};
  for (std::int32_t k = 0; k < block_.K; ++k) {
    double* repetition = values + static_cast<std::ptrdiff_t>(k) * block_.M;
    for (std::int32_t m = 0; m < block_.M; ++m) {
      DrawSample();
      TakeMoments();
      repetition[m] = block_.TestKind == kTestKindT2 ? T2() : PartialT();
      AddEstimates();
    }
    CritVA criteria{};
    sort_up(block_.M, repetition);
    KolmSmOm(repetition, block_.M, &law_, criteria);
    ChiRTrueStats(repetition, block_.M, &law_, 1, 5, criteria, "./Tables/");
    if (k == 0) {
      sums = criteria;
      continue;
    }
    for (const auto field : kCriteriaFields) sums.*field = sums.*field + criteria.*field;
  }
  return sums;
}

void ReferenceRun::DrawValues(double* z, int count) {
  std::uint32_t state = state_;
  auto draw = [&state] {
    state = olvend::LcgNext(state);
    return olvend::LcgOutput(state);
  };
  if (exp_power_) {
    for (int i = 0; i < count; ++i) {
      draw();  // the fresh uniform generator's own draw, dropped
      const int u = draw();
      if (std::isnan(law_values_[u])) law_values_[u] = exp_power_->InvF(Uniform(u), 1e-10);
      z[i] = law_values_[u];
    }
  } else {
    for (int i = 0; i < count; ++i) {
      double value = kept_;
      if (new_pair_) {
        draw();
        const int first = draw();
        const int second = draw();
        if (std::isnan(radius_[first])) radius_[first] = std::sqrt(std::log(Uniform(first)) * -2.0);
        if (std::isnan(turn_[second][0])) {
          turn_[second] = {std::sin(kTwoPi * Uniform(second)), std::cos(kTwoPi * Uniform(second))};
        }
        value = radius_[first] * turn_[second][0];
        kept_ = radius_[first] * turn_[second][1];
      }
      new_pair_ = !new_pair_;
      z[i] = block_.GenParam2 * value + block_.GenParam1;
    }
  }
  state_ = state;
}

void ReferenceRun::DrawSample() {
  DrawValues(draws_.data(), n_ * p_);
  for (int s = 0; s < n_; ++s) {
    const double* z = draws_.data() + s * p_;
    // The factor's upper triangle is zero and every value finite: those products add nothing.
    for (int i = 0; i < p_; ++i) {
      double sum = 0.0;
      for (int c = 0; c <= i; ++c) sum += z[c] * factor_[i * p_ + c];
      rows_[i * n_ + s] = sum + block_.Mean[i];
    }
  }
}

void ReferenceRun::TakeMoments() {
  for (int i = 0; i < p_; ++i) {
    double sum = 0.0;
    for (int s = 0; s < n_; ++s) sum += rows_[i * n_ + s];
    mean_[i] = sum / n_;
  }
  std::fill(covariance_.begin(), covariance_.end(), 0.0);
  for (int s = 0; s < n_; ++s) {
    for (int i = 0; i < p_; ++i) scratch_[i] = rows_[i * n_ + s] - mean_[i];
    // Both triangles hold the same bits; the lower one is enough.
    for (int a = 0; a < p_; ++a) {
      for (int b = 0; b <= a; ++b) covariance_[a * p_ + b] += (scratch_[b] * scratch_[a]) / (n_ - 1);
    }
  }
}

// Each sample's mean and covariance added to the run's sums in sample order;
// the covariance's two triangles take the same bits, so the lower one is summed.
void ReferenceRun::AddEstimates() {
  for (std::size_t i = 0; i < mean_sum_.size(); ++i) mean_sum_[i] = mean_sum_[i] + mean_[i];
  if (covariance_sum_.empty()) return;
  for (int a = 0; a < p_; ++a) {
    for (int b = 0; b <= a; ++b)
      covariance_sum_[a * p_ + b] = covariance_[a * p_ + b] + covariance_sum_[a * p_ + b];
  }
}

double ReferenceRun::T2() {
  const int p = p_;
  auto s = [this](int a, int b) { return a >= b ? covariance_[a * p_ + b] : covariance_[b * p_ + a]; };
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < 2 * p; ++j) work_[i * 2 * p + j] = j < p ? s(i, j) : (j - p == i ? 1.0 : 0.0);
  }
  const bool inverted = Invert(work_.data(), p);
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < p; ++j) inverse_[i * p + j] = inverted ? work_[i * 2 * p + p + j] : 0.0;
  }
  for (int i = 0; i < p; ++i) scratch_[i] = mean_[i] - block_.Mean[i];
  double form = 0.0;
  for (int j = 0; j < p; ++j) {
    double column = 0.0;
    for (int i = 0; i < p; ++i) column += inverse_[i * p + j] * scratch_[i];
    form += scratch_[j] * column;
  }
  return form * static_cast<double>(std::int64_t{n_ - p} * n_) /
         static_cast<double>(std::int64_t{n_ - 1} * p);
}

double ReferenceRun::PartialT() {
  const int q = block_.Q;
  const int rest = p_ - q;
  auto s = [this](int a, int b) { return a >= b ? covariance_[a * p_ + b] : covariance_[b * p_ + a]; };
  for (int a = 0; a < rest; ++a) {
    for (int b = 0; b < 2 * rest; ++b) {
      work_[a * 2 * rest + b] = b < rest ? s(q + a, q + b) : (b - rest == a ? 1.0 : 0.0);
    }
  }
  const bool inverted = Invert(work_.data(), rest);
  for (int a = 0; a < rest; ++a) {
    for (int b = 0; b < rest; ++b) inverse_[a * rest + b] = inverted ? work_[a * 2 * rest + rest + b] : 0.0;
  }
  // Element (i, j) of S11 - S12 S22⁻¹ S12ᵀ; only three of them are read.
  auto conditional = [&](int i, int j) {
    double regression = 0.0;
    for (int a = 0; a < rest; ++a) {
      double t = 0.0;
      for (int b = 0; b < rest; ++b) t += s(j, q + b) * inverse_[a * rest + b];
      regression += t * s(i, q + a);
    }
    return regression * -1.0 + s(i, j);
  };
  const int i = block_.VarI - 1;
  const int j = block_.VarJ - 1;
  const double r = conditional(i, j) / std::sqrt(conditional(j, j) * conditional(i, i));
  const int effective_n = n_ - p_ + q;
  return (r * std::sqrt(effective_n - 2)) / std::sqrt(1 - r * r);
}

}  // namespace bench
