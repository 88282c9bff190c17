// The report being written: its HTML so far, the open paragraph and table,
// and the save whose temporary file becomes the report when it is finished.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/whole_file.h"

namespace lusmere {

enum class CellKind { kPositional, kHeading, kNumber };

class ReportWriter {
 public:
  ReportWriter() = default;
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;
  // An unfinished report is abandoned.
  ~ReportWriter();

  // Each operation raises a member of the Exception family on misuse or
  // failure and leaves the writer as it was; the caller abandons the report.
  void Create(const std::string& file_name);
  void AddText(std::string_view text, bool ends_paragraph, int alignment);
  void BeginTable(int rows, int columns, std::string_view caption);
  void SetCell(int row, int column, std::string_view text, CellKind kind);
  void EndTable();
  void Finish();

  // Drops the report and removes its temporary file; never fails.
  void Abandon() noexcept;

 private:
  struct Cell {
    std::string html;
    CellKind kind = CellKind::kPositional;
  };
  struct Table {
    int rows = 0;
    int columns = 0;
    std::string caption_html;
    std::vector<Cell> cells;  // row by row
  };

  void RequireReport() const;
  void RequireNoTable() const;
  void CloseParagraph();
  void AppendTable(const Table& table);

  std::string file_name_;
  std::unique_ptr<platform::WholeFileSave> save_;  // while a report is open
  std::string html_;
  bool paragraph_open_ = false;
  std::optional<Table> table_;
};

}  // namespace lusmere
