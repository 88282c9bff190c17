#include "method/report.h"

#include <cmath>
#include <string>

#include "lusmere/lusmere.h"
#include "method/run_driver.h"
#include "method/run_parameters.h"
#include "platform/number_format.h"

namespace {

// Every number of a table: at most 7 significant digits, 4 after the separator.
std::string TableNumber(double value) { return platform::FormatFixed(value, 7, 4); }

// r0 in a sentence: at most 5 significant digits, 2 after the separator.
std::string SentenceNumber(double value) { return platform::FormatFixed(value, 5, 2); }

std::string HypothesisSentence(const RunState& run) {
  switch (run.TestKind) {
    case kTestKindX2:
      return "Гипотеза о равенстве математического ожидания некоторому известному вектору M0 при известной "
             "ковариационной матрице.";
    case kTestKindT2:
      return "Гипотеза о равенстве математического ожидания некоторому известному вектору M0 при "
             "неизвестной ковариационной матрице.";
    case kTestKindPairT:
      return "Гипотеза о нулевом парном коэффициенте корреляции.";
    case kTestKindPairZ0:
      return "Гипотеза о парном коэффициенте корреляции, который равен " + SentenceNumber(run.R0) + ".";
    case kTestKindIndividT:
      return "Гипотеза о нулевом частном коэффициенте корреляции.";
    case kTestKindIndividZ0:
      return "Гипотеза о частном коэффициенте корреляции, который равен " + SentenceNumber(run.R0) + ".";
    case kTestKindF:
      return "Гипотеза о нулевом множественном коэфициенте корреляции.";
    default:
      return "";
  }
}

void WriteCriteriaTable(const CritVA& mean) {
  struct Row {
    const char* label;
    double statistic;
    double probability;
  };
  const Row rows[] = {
      {"Критерий Колмогорова", mean.KolmStat, mean.KolmP},
      {"Критерий Смирнова", mean.SmirnStat, mean.SmirnP},
      {"Критерий \\omega^{2}", mean.OmegaStat, mean.OmegaP},
      {"Критерий \\Omega^{2}", mean.BigOmegaStat, mean.BigOmegaP},
      {"Критерий \\chi^{2}", mean.ChiStat, mean.ChiP},
      {"Критерий ОП", mean.LRStat, mean.LRP},
  };
  CreateTable(8, 3, "Вероятность принятия гипотезы по критериям согласия");
  AddEntry(0, 1, "Значение статистики", lusmere::kHeadingCell);
  AddEntry(0, 2, "Вероятность", lusmere::kHeadingCell);
  int row = 1;
  for (const Row& line : rows) {
    AddEntry(row, 0, line.label, lusmere::kHeadingCell);
    AddEntry(row, 1, TableNumber(line.statistic), lusmere::kNumberCell);
    AddEntry(row, 2, TableNumber(line.probability), lusmere::kNumberCell);
    ++row;
  }
  const double weighted = 0.18 * (mean.KolmP + mean.SmirnP) + 0.14 * (mean.OmegaP + mean.BigOmegaP) +
                          0.18 * (mean.ChiP + mean.LRP);
  AddEntry(7, 0, "Среднее значение", lusmere::kHeadingCell);
  AddEntry(7, 2, TableNumber(weighted), lusmere::kNumberCell);
  CloseTable();
}

void WriteMeanTable(const RunState& run) {
  const int p = run.Dimension();
  AddString("Оценивание параметров многомерного распределения", true, 0);
  CreateTable(p + 1, 2, "Оценка математического ожидания");
  AddEntry(0, 0, "M", lusmere::kHeadingCell);
  AddEntry(0, 1, "Value", lusmere::kHeadingCell);
  for (int i = 1; i <= p; ++i) {
    AddEntry(i, 0, std::to_string(i), lusmere::kHeadingCell);
    AddEntry(i, 1, TableNumber((*run.MeanSum)[i - 1] / run.M / run.K));
  }
  CloseTable();
}

// A p x p table with the numbered headings; value(i, j) is 0-based.
template <typename Value>
void WriteSquareTable(int p, const std::string& caption, const std::string& corner, Value value) {
  CreateTable(p + 1, p + 1, caption);
  AddEntry(0, 0, corner, lusmere::kHeadingCell);
  for (int j = 1; j <= p; ++j) AddEntry(0, j, std::to_string(j), lusmere::kHeadingCell);
  for (int i = 1; i <= p; ++i) {
    AddEntry(i, 0, std::to_string(i), lusmere::kHeadingCell);
    for (int j = 1; j <= p; ++j) AddEntry(i, j, TableNumber(value(i - 1, j - 1)));
  }
  CloseTable();
}

void WriteCovarianceTables(const RunState& run) {
  const Matrix& sum = *run.CovarianceSum;
  WriteSquareTable(run.Dimension(), "Оценка ковариационной матрицы", "\\Sigma",
                   [&](int i, int j) { return sum[i][j] / run.M / run.K; });
  // The divisions by M and K cancel in the correlation.
  WriteSquareTable(run.Dimension(), "Оценка корелляционной матрицы", "K",
                   [&](int i, int j) { return sum[i][j] / std::sqrt(sum[i][i] * sum[j][j]); });
}

}  // namespace

void WriteReport(RunState& run) {
  CreateReport("index.html");
  const std::string sentence = HypothesisSentence(run);
  if (!sentence.empty()) AddString(sentence, true, 0);
  for (const auto field : kCriteriaFields) run.Criteria.*field = run.Criteria.*field / run.K;
  WriteCriteriaTable(run.Criteria);
  if (run.EstimateMean != 0) WriteMeanTable(run);
  if (run.EstimateCovariance != 0) WriteCovarianceTables(run);
  CloseReport();
}
