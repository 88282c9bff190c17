// Import and export of a full Excel 5.0 worksheet (16384 x 256 numbers)
// through the data-set editor's sheet, as the editor's Import and Export run
// them. The counter peak_MB is the largest resident size of the process
// while the benchmark ran, the sheet it started with included.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "workbook/sheet.h"
#include "workbook/xls_file.h"

namespace {

// Numbers of up to 17 significant digits, as measurements come.
void FillFullSheet(WorkbookSheet& sheet) {
  std::vector<QStringList> rows(WorkbookSheet::kMaxRows);
  for (int row = 0; row < WorkbookSheet::kMaxRows; ++row) {
    rows[row].reserve(WorkbookSheet::kMaxCols);
    for (int col = 0; col < WorkbookSheet::kMaxCols; ++col) {
      rows[row].append(QString::number((row * WorkbookSheet::kMaxCols + col) * 0.37 - 1000, 'g', 17));
    }
  }
  sheet.Assign(WorkbookSheet::kMaxRows, WorkbookSheet::kMaxCols, std::move(rows));
}

// Linux keeps the peak resident size in VmHWM and lets a process reset it.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

void ReportPeakMemory(benchmark::State& state) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) state.counters["peak_MB"] = std::stod(line.substr(6)) / 1024;
  }
}

void BM_ImportFullSheet(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = folder.filePath("full.xls");
  {
    WorkbookSheet sheet;
    FillFullSheet(sheet);
    workbook::WriteSheetToXls(sheet, path);
  }
  ResetPeakMemory();
  for (auto _ : state) {
    WorkbookSheet sheet;
    workbook::ReadXlsToSheet(sheet, path);
    benchmark::DoNotOptimize(sheet.MaxRow());
  }
  ReportPeakMemory(state);
}

void BM_ExportFullSheet(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = folder.filePath("full.xls");
  WorkbookSheet sheet;
  FillFullSheet(sheet);
  ResetPeakMemory();
  for (auto _ : state) workbook::WriteSheetToXls(sheet, path);
  ReportPeakMemory(state);
}

}  // namespace

BENCHMARK(BM_ImportFullSheet)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_ExportFullSheet)->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
