// A parameter block that the method delivered with the system runs: the T2
// statistic of a bivariate normal law, N = 10, with M samples in each of K
// repetitions, and their statistics files when a path is given. Shared by the
// shell's run tests.
#pragma once

#include <QByteArray>

#include "method/parameter_block.h"

inline QByteArray BrennicBlock(int m, int k, const std::string& statisticsPath = "") {
  RunParameters run;
  run.TestKind = kTestKindT2;
  run.GeneratorKind = kGeneratorNormal;
  run.GenParam2 = 1;
  run.Dimension = 2;
  run.Mean = {0, 0};
  run.Covariance = {1, 0.5, 1};
  run.N = 10;
  run.M = m;
  run.K = k;
  run.SaveValues = statisticsPath.empty() ? 0 : 1;
  run.StatisticsPath = statisticsPath;
  return QByteArray::fromStdString(EncodeRunParameters(run));
}
