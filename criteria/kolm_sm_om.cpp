#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "criteria/constants.h"
#include "criteria/limit_laws.h"
#include "criteria/quessel.h"
#include "platform/exceptions.h"
#include "wendric/func_probability.h"

namespace {

using quessel::internal::kEps;

// Keeps both logarithms of the Omega-square sum finite.
double Clamped(double u) {
  if (u < kEps) u = kEps;
  if (u > 1.0 - kEps) u = 1.0 - kEps;
  return u;
}

}  // namespace

void KolmSmOm(double* x, int n, DistribFunc* dist, CritVA& crit) {
  if (n < 1) throw Exception(quessel::internal::kEmptySampleMessage);
  // F of an infinity is 0 or 1 and is clamped like any other, so the sums
  // below would find such a sample a good fit. A sample with a value that is
  // no number or infinite fits no law, as the chi-square criteria say too.
  if (!std::all_of(x, x + n, [](double value) { return std::isfinite(value); })) {
    crit.KolmStat = crit.SmirnStat = crit.OmegaStat = crit.BigOmegaStat =
        std::numeric_limits<double>::infinity();
    crit.KolmP = crit.SmirnP = crit.OmegaP = crit.BigOmegaP = 0.0;
    return;
  }
  const double count = n;

  // The omega-square sum takes each freshly computed value before clamping;
  // a tie reuses its first member's clamped value without asking the law again.
  double u = 1.0 - dist->Probability(x[0], true);
  const double first = u - 1.0 / (2.0 * count);
  double omega = 1.0 / (12.0 * count) + first * first;
  double big_omega = -count;
  u = Clamped(u);
  big_omega =
      big_omega - 2.0 * (std::log(u) / (2.0 * count) + std::log(1.0 - u) * (1.0 - 1.0 / (2.0 * count)));
  double d_plus = 1.0 / count - u;
  double d_minus = u;

  // j in 64 bits: with n at the largest int, ++j would overflow on leaving.
  for (std::int64_t j = 2; j <= n; ++j) {
    if (x[j - 1] != x[j - 2]) u = 1.0 - dist->Probability(x[j - 1], true);
    const double c = (2.0 * j - 1.0) / (2.0 * count);
    omega += (u - c) * (u - c);
    u = Clamped(u);
    big_omega = big_omega - 2.0 * (c * std::log(u) + (1.0 - c) * std::log(1.0 - u));
    d_plus = std::max(d_plus, j / count - u);
    d_minus = std::max(d_minus, u - (j - 1) / count);
  }
  const double d = d_plus > d_minus ? d_plus : d_minus;

  crit.KolmStat = (6.0 * count * d + 1.0) * (6.0 * count * d + 1.0) / (18.0 * count);
  crit.KolmP = 1.0 - quessel::internal::KolmLimitDistr(std::sqrt(crit.KolmStat / 2.0));
  if (crit.KolmP <= kEps) crit.KolmP = 0.0;
  crit.SmirnStat = (6.0 * count * d_plus + 1.0) * (6.0 * count * d_plus + 1.0) / (9.0 * count);
  crit.SmirnP = 1.0 - FuncProbability::Chi2Probability(crit.SmirnStat, 2.0, false);
  if (crit.SmirnP <= kEps) crit.SmirnP = 0.0;
  crit.OmegaStat = omega;
  crit.OmegaP = 1.0 - quessel::internal::LimitDistrA1(omega);
  crit.BigOmegaStat = big_omega;
  crit.BigOmegaP = 1.0 - quessel::internal::LimitDistrA2(big_omega);
}
