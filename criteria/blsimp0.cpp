#include <cmath>
#include <iostream>

#include "criteria/quessel.h"

namespace {

// The finest grid: 10 subintervals halved four times.
constexpr int kFinestGrid = 160;
constexpr double kOneThird = 1.0 / 3.0;

double SimpsonSum(const double* y, int n, double h) {
  double odd = 0.0;
  for (int i = 1; i < n; i += 2) odd += y[i];
  double even = 0.0;
  for (int i = 2; i < n - 1; i += 2) even += y[i];
  return (4.0 * odd + (y[0] + y[n]) + 2.0 * even) * h * kOneThird;
}

}  // namespace

void blsimp0(double* result, double a, double b, double eps, double (*f)(double), int* status) {
  if (!(b > a)) {
    std::cout << "\nЛевая граница " << a << " >= правой " << b << std::endl;
    *status = 2;
    return;
  }
  if (!(eps > 0.0)) {
    std::cout << "\nЗаданная точность e, присвоено 0.0\n";
    eps = 0.0;
  }
  *status = 0;

  double x[kFinestGrid + 1];
  double y[kFinestGrid + 1];
  int n = 10;
  double h = (b - a) / n;
  for (int i = 0; i <= n; ++i) {
    x[i] = i * h + a;
    y[i] = f(x[i]);
  }

  double previous = 0.0;
  for (int pass = 1;; ++pass) {
    const double sum = SimpsonSum(y, n, h);
    *result = sum;
    if (pass > 1) {
      if (std::fabs(sum - previous) < eps) return;
      if (n == kFinestGrid) {
        *status = 1;
        return;
      }
    }
    // Halve the step: every node k moves to 2k, from the top down so that
    // nothing is overwritten, and only the new odd nodes are evaluated.
    previous = sum;
    h /= 2.0;
    for (int k = n; k >= 0; --k) {
      x[2 * k] = x[k];
      y[2 * k] = y[k];
    }
    n *= 2;
    for (int i = 1; i < n; i += 2) {
      x[i] = x[i - 1] + h;
      y[i] = f(x[i]);
    }
  }
}
