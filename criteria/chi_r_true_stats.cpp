#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "criteria/chi_tables.h"
#include "criteria/constants.h"
#include "criteria/quessel.h"
#include "platform/exceptions.h"
#include "wendric/func_probability.h"

namespace {

using quessel::internal::kEps;

enum Grouping { kEqualWidth = 0, kEqualCount = 1, kFromTables = 2 };

// Every check comes before the first count, so a refused call leaves crit as it was.
void CheckArguments(int n, int type, int k) {
  if (k < 3 || k > 15) throw Exception("Количество интервалов не менее 3 и не более 15!");
  if (type != kEqualWidth && type != kEqualCount && type != kFromTables) {
    throw Exception("Неизвестный способ группировки " + std::to_string(type) + ": допустимы 0, 1 и 2!");
  }
  if (n < 1) throw Exception(quessel::internal::kEmptySampleMessage);
  if (type == kEqualCount && n < k) {
    throw Exception("Наблюдений (" + std::to_string(n) + ") меньше, чем интервалов (" + std::to_string(k) +
                    "): группировка с равным числом наблюдений невозможна!");
  }
}

// Intervals are closed on the right: a value equal to the boundary belongs below it.
int CountUpTo(const double* x, int n, int& i, double boundary) {
  int count = 0;
  while (i < n && x[i] <= boundary) {
    ++i;
    ++count;
  }
  return count;
}

// A value that is no number or infinite, or a range that overflows, leaves no
// interval width or boundary to group by; such a sample fits no law.
bool Groupable(const double* x, int n) {
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(x[i])) return false;
  }
  return std::isfinite(x[n - 1] - x[0]);
}

}  // namespace

void ChiRTrueStats(double* x, int n, DistribFunc* dist, int type, int k, CritVA& crit, const char* folder) {
  CheckArguments(n, type, k);
  quessel::internal::ChiTable table;
  if (type == kFromTables) table = quessel::internal::ReadChiTable(folder, k);
  if (!Groupable(x, n)) {
    crit.ChiStat = crit.LRStat = std::numeric_limits<double>::infinity();
    crit.ChiP = crit.LRP = 0.0;
    return;
  }

  std::vector<int> counts(k);
  std::vector<double> probabilities(k);
  double s = 0.0;
  int i = 0;

  if (type == kEqualWidth) {
    const double width = (x[n - 1] - x[0]) / k;
    for (int j = 1; j < k; ++j) {
      const double boundary = j * width + x[0];
      counts[j - 1] = CountUpTo(x, n, i, boundary);
      probabilities[j - 1] = dist->Probability(boundary, false) - s;
      s += probabilities[j - 1];
    }
  } else if (type == kEqualCount) {
    // Split by position, so equal values may fall into different intervals;
    // the probabilities still come from the boundary values.
    const int m = n / k;
    for (int j = 1; j < k; ++j) {
      counts[j - 1] = m;
      probabilities[j - 1] = dist->Probability(x[j * m - 1], false) - s;
      s += probabilities[j - 1];
    }
    i = (k - 1) * m;
  } else {
    for (int j = 1; j < k; ++j) counts[j - 1] = CountUpTo(x, n, i, table.boundaries[j - 1]);
    probabilities = table.probabilities;
  }
  if (type != kFromTables) probabilities[k - 1] = s < 1.0 ? 1.0 - s : 0.0;
  counts[k - 1] = n - i;

  double chi = 0.0;
  double likelihood_ratio = 0.0;
  for (int j = 0; j < k; ++j) {
    double p = probabilities[j];
    if (p < kEps) p = kEps;
    const double deviation = counts[j] - n * p;
    chi += deviation * deviation / p;
    if (counts[j] != 0) likelihood_ratio += counts[j] * std::log(counts[j] / (n * p));
  }
  crit.ChiStat = chi / n;
  crit.LRStat = 2.0 * likelihood_ratio;
  crit.ChiP = FuncProbability::Chi2Probability(crit.ChiStat, k - 1, true);
  crit.LRP = FuncProbability::Chi2Probability(crit.LRStat, k - 1, true);
}
