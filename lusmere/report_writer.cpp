#include "lusmere/report_writer.h"

#include "lusmere/html_text.h"
#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace lusmere {
namespace {

// Qt's rich-text browser ignores <caption> but shows its contents as a line
// above the table, so the caption's text is bold in both kinds of viewer. A
// web browser fits a caption into its table's width, so it is kept on one
// line, which widens a narrow table instead.
constexpr std::string_view kHead =
    "<!DOCTYPE html>\n"
    "<html lang=\"ru\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<title>Отчет</title>\n"
    "<style>\n"
    "caption { text-align: left; padding: 4px 0; white-space: nowrap; }\n"
    "table { border-collapse: collapse; margin-bottom: 12px; }\n"
    "th, td { border: 1px solid #808080; padding: 2px 6px; }\n"
    "th { background-color: #e8e8e8; }\n"
    "td.number { text-align: right; white-space: nowrap; }\n"
    "p.center { text-align: center; }\n"
    "p.right { text-align: right; }\n"
    "</style>\n"
    "</head>\n"
    "<body>\n";

constexpr std::string_view kTail =
    "</body>\n"
    "</html>\n";

constexpr std::string_view kParagraphOpenings[] = {"<p>", "<p class=\"center\">", "<p class=\"right\">"};

using platform::Quoted;

bool IsHeading(CellKind kind, int row, int column) {
  if (kind == CellKind::kPositional) return row == 0 || column == 0;
  return kind == CellKind::kHeading;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// A number as reports write them: a sign, digits with at most one decimal
// separator ("." or ","), an exponent; or the not-a-number and the
// infinities as the number formatting writes them.
bool IsNumberText(std::string_view text) {
  if (text == "NaN" || text == "∞" || text == "-∞") return true;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  int digits = 0;
  bool separator = false;
  for (; pos < text.size(); ++pos) {
    if (IsDigit(text[pos])) {
      ++digits;
    } else if ((text[pos] == '.' || text[pos] == ',') && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    const std::size_t exponent = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    if (pos == exponent) return false;
  }
  return pos == text.size();
}

}  // namespace

ReportWriter::~ReportWriter() { Abandon(); }

void ReportWriter::Create(const std::string& file_name) {
  if (save_) {
    throw Exception("Отчет " + Quoted(file_name_) + " еще не закончен: новый отчет начать нельзя");
  }
  // The report takes its name only once it is whole, so a half-written report
  // never has the real name, and a run ended meanwhile leaves nothing of it.
  save_ = std::make_unique<platform::WholeFileSave>(file_name,
                                                    "Невозможно создать файл отчета " + Quoted(file_name));
  file_name_ = file_name;
  html_ = kHead;
}

void ReportWriter::AddText(std::string_view text, bool ends_paragraph, int alignment) {
  RequireReport();
  RequireNoTable();
  if (alignment < 0 || alignment > 2) {
    throw Exception("Неверное выравнивание абзаца отчета: " + std::to_string(alignment));
  }
  const std::string text_html = HtmlText(text);
  if (!paragraph_open_) html_ += kParagraphOpenings[alignment];
  html_ += text_html;
  paragraph_open_ = !ends_paragraph;
  if (ends_paragraph) html_ += "</p>\n";
}

void ReportWriter::BeginTable(int rows, int columns, std::string_view caption) {
  RequireReport();
  RequireNoTable();
  if (rows < 1 || columns < 1) {
    throw Exception("Неверный размер таблицы отчета: строк " + std::to_string(rows) + ", столбцов " +
                    std::to_string(columns));
  }
  Table table{rows, columns, HtmlText(caption), {}};
  table.cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
  CloseParagraph();
  table_ = std::move(table);
}

void ReportWriter::SetCell(int row, int column, std::string_view text, CellKind kind) {
  if (!table_) throw Exception("Ячейка не может быть заполнена: таблица отчета не начата");
  if (row < 0 || row >= table_->rows || column < 0 || column >= table_->columns) {
    throw Exception("Ячейка (" + std::to_string(row) + ", " + std::to_string(column) +
                    ") лежит вне таблицы отчета из " + std::to_string(table_->rows) + " строк и " +
                    std::to_string(table_->columns) + " столбцов");
  }
  Cell& cell = table_->cells[static_cast<std::size_t>(row) * table_->columns + column];
  cell.html = HtmlText(text);
  // A number in a plain cell is aligned as a number cell's, as spreadsheets
  // align numbers.
  const bool plain_number = kind == CellKind::kPositional && row > 0 && column > 0 && IsNumberText(text);
  cell.kind = plain_number ? CellKind::kNumber : kind;
}

void ReportWriter::EndTable() {
  if (!table_) throw Exception("Таблица отчета не начата");
  AppendTable(*table_);
  table_.reset();
}

void ReportWriter::Finish() {
  RequireReport();
  RequireNoTable();
  CloseParagraph();
  html_ += kTail;
  save_->Write(html_);
  save_->Finish();
  Abandon();
}

void ReportWriter::Abandon() noexcept {
  save_.reset();
  file_name_.clear();
  html_.clear();
  paragraph_open_ = false;
  table_.reset();
}

void ReportWriter::RequireReport() const {
  if (!save_) throw Exception("Отчет не начат");
}

void ReportWriter::RequireNoTable() const {
  if (table_) throw Exception("Таблица отчета не закончена");
}

void ReportWriter::CloseParagraph() {
  if (!paragraph_open_) return;
  html_ += "</p>\n";
  paragraph_open_ = false;
}

void ReportWriter::AppendTable(const Table& table) {
  html_ += "<table>\n";
  if (!table.caption_html.empty()) html_ += "<caption><b>" + table.caption_html + "</b></caption>\n";
  for (int row = 0; row < table.rows; ++row) {
    html_ += "<tr>";
    for (int column = 0; column < table.columns; ++column) {
      const Cell& cell = table.cells[static_cast<std::size_t>(row) * table.columns + column];
      if (IsHeading(cell.kind, row, column)) {
        html_ += "<th>" + cell.html + "</th>";
      } else if (cell.kind == CellKind::kNumber) {
        html_ += "<td class=\"number\">" + cell.html + "</td>";
      } else {
        html_ += "<td>" + cell.html + "</td>";
      }
    }
    html_ += "</tr>\n";
  }
  html_ += "</table>\n";
}

}  // namespace lusmere
