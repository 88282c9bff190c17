#include "lusmere/lusmere.h"

#include <new>

#include "lusmere/report_writer.h"
#include "platform/exceptions.h"

namespace {

using lusmere::CellKind;
using lusmere::ReportWriter;

// Destroyed when the library is unloaded, which abandons a report that a
// failed run left open.
ReportWriter& Report() {
  static ReportWriter report;
  return report;
}

// Runs one call on the report. Whatever goes wrong abandons the report, so a
// run that fails leaves neither a report nor a temporary file.
template <typename Call>
void OnReport(Call call) {
  try {
    call(Report());
  } catch (const std::bad_alloc&) {
    Report().Abandon();
    throw EOutOfMemory("Недостаточно памяти для отчета");
  } catch (...) {
    Report().Abandon();
    throw;
  }
}

}  // namespace

void CreateReport(const std::string& file_name) {
  OnReport([&](ReportWriter& report) { report.Create(file_name); });
}

void AddString(const std::string& text, bool ends_paragraph, int alignment) {
  OnReport([&](ReportWriter& report) { report.AddText(text, ends_paragraph, alignment); });
}

void CreateTable(int rows, int columns, const std::string& caption) {
  OnReport([&](ReportWriter& report) { report.BeginTable(rows, columns, caption); });
}

void AddEntry(int row, int column, const std::string& text) {
  OnReport([&](ReportWriter& report) { report.SetCell(row, column, text, CellKind::kPositional); });
}

void AddEntry(int row, int column, const std::string& text, int cell_kind) {
  OnReport([&](ReportWriter& report) {
    if (cell_kind != lusmere::kHeadingCell && cell_kind != lusmere::kNumberCell) {
      throw Exception("Неверный вид ячейки таблицы отчета: " + std::to_string(cell_kind));
    }
    report.SetCell(row, column, text,
                   cell_kind == lusmere::kHeadingCell ? CellKind::kHeading : CellKind::kNumber);
  });
}

void CloseTable() {
  OnReport([](ReportWriter& report) { report.EndTable(); });
}

void CloseReport() {
  OnReport([](ReportWriter& report) { report.Finish(); });
}
