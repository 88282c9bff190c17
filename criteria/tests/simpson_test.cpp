#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>

#include "criteria/quessel.h"

namespace {

int evaluations = 0;

double Cube(double x) {
  ++evaluations;
  return x * x * x;
}

double Exponential(double x) {
  ++evaluations;
  return std::exp(x);
}

// One call of blsimp0 with what it wrote to the standard output.
struct Integration {
  double result = -7.0;
  int status = -1;
  std::string output;

  Integration(double a, double b, double eps, double (*f)(double)) {
    evaluations = 0;
    std::ostringstream captured;
    std::streambuf* previous = std::cout.rdbuf(captured.rdbuf());
    blsimp0(&result, a, b, eps, f, &status);
    std::cout.rdbuf(previous);
    output = captured.str();
  }
};

TEST(Simpson, ConvergesOrStopsAfterTheFinestGrid) {
  const Integration cube(0.0, 1.0, 1e-12, Cube);  // Simpson is exact for cubics
  EXPECT_EQ(cube.status, 0);
  EXPECT_EQ(evaluations, 21);
  EXPECT_NEAR(cube.result, 0.25, 1e-15);
  EXPECT_EQ(cube.output, "");

  const Integration exponential(0.0, 1.0, 1e-12, Exponential);
  EXPECT_EQ(exponential.status, 1);
  EXPECT_EQ(evaluations, 161);
  // Simpson's error bound with h = 1/160: e h^4 / 180, about 2.3e-11.
  EXPECT_NEAR(exponential.result, std::numbers::e - 1, 1e-10);
}

TEST(Simpson, AnEmptyIntervalIsReportedAndANonPositiveToleranceBecomesZero) {
  const Integration empty(1.0, 1.0, 1e-12, Cube);
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.result, -7.0);
  EXPECT_EQ(evaluations, 0);
  EXPECT_EQ(empty.output, "\nЛевая граница 1 >= правой 1\n");
  EXPECT_EQ(Integration(2.5, -1.0, 1e-12, Cube).output, "\nЛевая граница 2.5 >= правой -1\n");

  // Every pass then runs.
  const Integration zero(0.0, 1.0, 0.0, Cube);
  EXPECT_EQ(zero.output, "\nЗаданная точность e, присвоено 0.0\n");
  EXPECT_EQ(zero.status, 1);
  EXPECT_EQ(evaluations, 161);
  EXPECT_NEAR(zero.result, 0.25, 1e-15);
  EXPECT_EQ(Integration(0.0, 1.0, -1.0, Cube).status, 1);
}

}  // namespace
