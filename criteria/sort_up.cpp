#include <cmath>
#include <cstdlib>

#include "criteria/quessel.h"

namespace {

// Ascending order. A NaN sorts after every number and equal to another NaN:
// without that rule the comparison is inconsistent and qsort's behaviour on
// such input undefined.
int CompareUp(const void* first, const void* second) {
  const double a = *static_cast<const double*>(first);
  const double b = *static_cast<const double*>(second);
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) - std::isnan(b);
  if (a < b) return -1;
  if (a == b) return 0;
  return 1;
}

}  // namespace

void sort_up(int n, double* values) {
  if (n < 2) return;
  std::qsort(values, static_cast<std::size_t>(n), sizeof(double), CompareUp);
}
