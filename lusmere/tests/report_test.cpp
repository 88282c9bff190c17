#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "lusmere/lusmere.h"
#include "platform/exceptions.h"
#include "platform/tests/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

class Report : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return temporary_.File(name); }

  std::vector<std::string> FolderContents() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    return names;
  }

  static std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  // The part of the file between <body> and </body>.
  static std::string Body(const std::string& html) {
    const std::string open = "<body>\n";
    const auto begin = html.find(open);
    const auto end = html.find("</body>");
    if (begin == std::string::npos || end == std::string::npos) return {};
    return html.substr(begin + open.size(), end - begin - open.size());
  }

  const TemporaryFolder temporary_;
  const fs::path& folder_ = temporary_.Path();
};

// Every element is closed in order (meta is the one void element we write).
bool TagsBalance(const std::string& html) {
  static const std::regex tag("<(/?)([a-z]+)[^>]*>");
  std::vector<std::string> open;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[2];
    if (name == "meta") continue;
    if ((*it)[1].length() == 0) {
      open.push_back(name);
    } else {
      if (open.empty() || open.back() != name) return false;
      open.pop_back();
    }
  }
  return open.empty();
}

TEST_F(Report, WritesParagraphsAndCaptionedTables) {
  CreateReport(PathOf("index.html"));
  AddString("Гипотеза о парном коэффициенте корреляции, который равен 0,50.", true, 0);
  CreateTable(3, 3, "Вероятность принятия гипотезы по критериям согласия");
  AddEntry(0, 1, "Значение статистики", 0);
  AddEntry(1, 0, "Критерий \\omega^{2}", 0);
  AddEntry(1, 1, "0,1235", 1);
  AddEntry(2, 1, "-1,5E+03");
  AddEntry(2, 2, "x < y");
  AddEntry(2, 0, "3");
  CloseTable();
  CloseReport();

  const std::string html = Contents(PathOf("index.html"));
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"));
  EXPECT_TRUE(html.ends_with("</body>\n</html>\n"));
  EXPECT_EQ(Body(html),
            "<p>Гипотеза о парном коэффициенте корреляции, который равен 0,50.</p>\n"
            "<table>\n"
            "<caption><b>Вероятность принятия гипотезы по критериям согласия</b></caption>\n"
            "<tr><th></th><th>Значение статистики</th><th></th></tr>\n"
            "<tr><th>Критерий ω<sup>2</sup></th><td class=\"number\">0,1235</td><td></td></tr>\n"
            "<tr><th>3</th><td class=\"number\">-1,5E+03</td><td>x &lt; y</td></tr>\n"
            "</table>\n");
  EXPECT_TRUE(TagsBalance(html));
  EXPECT_EQ(FolderContents(), std::vector<std::string>{"index.html"});
}

TEST_F(Report, ExplicitCellKindsHoldWhereverTheCellStands) {
  CreateReport(PathOf("index.html"));
  CreateTable(2, 2, "");
  AddEntry(0, 0, "1", lusmere::kNumberCell);
  AddEntry(1, 1, "\\Sigma", lusmere::kHeadingCell);
  AddEntry(0, 1, "old");
  AddEntry(0, 1, "new");
  CloseTable();
  CloseReport();
  EXPECT_EQ(Body(Contents(PathOf("index.html"))),
            "<table>\n"
            "<tr><td class=\"number\">1</td><th>new</th></tr>\n"
            "<tr><th></th><th>Σ</th></tr>\n"
            "</table>\n");
}

TEST_F(Report, TextsJoinUntilAParagraphEnds) {
  CreateReport(PathOf("index.html"));
  AddString("Первая часть, ", false, 1);
  AddString("вторая часть.", true, 2);
  AddString("Справа", true, 2);
  AddString("Открытый абзац", false, 0);
  CreateTable(1, 1, "T");
  CloseTable();
  AddString("Последний", false, 0);
  CloseReport();
  const std::string html = Contents(PathOf("index.html"));
  EXPECT_EQ(Body(html),
            "<p class=\"center\">Первая часть, вторая часть.</p>\n"
            "<p class=\"right\">Справа</p>\n"
            "<p>Открытый абзац</p>\n"
            "<table>\n<caption><b>T</b></caption>\n<tr><th></th></tr>\n</table>\n"
            "<p>Последний</p>\n");
  EXPECT_TRUE(TagsBalance(html));
}

TEST_F(Report, TheFileTakesItsNameOnlyWhenTheReportIsClosed) {
  std::ofstream(PathOf("index.html")) << "older report";
  CreateReport(PathOf("index.html"));
  AddString("Текст", true, 0);
  EXPECT_EQ(Contents(PathOf("index.html")), "older report");
  EXPECT_EQ(FolderContents().size(), 2u);  // the older report and the temporary file
  CloseReport();
  EXPECT_EQ(FolderContents(), std::vector<std::string>{"index.html"});
  EXPECT_NE(Contents(PathOf("index.html")).find("<p>Текст</p>"), std::string::npos);
}

TEST_F(Report, ANameWithoutFolderIsInTheCurrentDirectory) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  CreateReport("index.html");
  CloseReport();
  fs::current_path(previous);
  EXPECT_EQ(FolderContents(), std::vector<std::string>{"index.html"});
}

// Each misuse raises, abandons the report and leaves the folder empty; the
// next report then starts cleanly. Messages are checked where given.
TEST_F(Report, MisuseRaisesAndLeavesNothingBehind) {
  const std::string name = PathOf("index.html");
  enum Setup { kNothing, kReportOpen, kTableOpen };
  const struct {
    const char* what;
    Setup setup;
    std::function<void()> call;
    const char* message = nullptr;
  } misuses[] = {
      {"table without report", kNothing, [] { CreateTable(2, 2, "T"); }, "Отчет не начат"},
      {"text without report", kNothing, [] { AddString("x", true, 0); }},
      {"close without report", kNothing, [] { CloseReport(); }},
      {"second report", kReportOpen, [&] { CreateReport(name); }},
      {"entry without table", kReportOpen, [] { AddEntry(0, 0, "x"); }},
      {"close table without table", kReportOpen, [] { CloseTable(); }},
      {"empty table", kReportOpen, [] { CreateTable(0, 3, "T"); }},
      {"unknown alignment", kReportOpen, [] { AddString("x", true, 3); }},
      {"row past the end", kTableOpen, [] { AddEntry(2, 0, "x"); },
       "Ячейка (2, 0) лежит вне таблицы отчета из 2 строк и 3 столбцов"},
      {"negative column", kTableOpen, [] { AddEntry(0, -1, "x", 1); }},
      {"unknown cell kind", kTableOpen, [] { AddEntry(1, 1, "x", 2); }},
      {"table in a table", kTableOpen, [] { CreateTable(1, 1, "U"); }},
      {"text in a table", kTableOpen, [] { AddString("x", true, 0); }},
      {"report closed with a table open", kTableOpen, [] { CloseReport(); }},
      {"text that is not UTF-8", kTableOpen, [] { AddEntry(0, 1, "\xFF"); }},
  };
  for (const auto& misuse : misuses) {
    if (misuse.setup != kNothing) CreateReport(name);
    if (misuse.setup == kTableOpen) CreateTable(2, 3, "T");
    try {
      misuse.call();
      ADD_FAILURE() << "accepted: " << misuse.what;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), misuse.message ? misuse.message : error.Message()) << misuse.what;
    }
    EXPECT_TRUE(FolderContents().empty()) << misuse.what;
  }
  CreateReport(name);
  CloseReport();
  EXPECT_EQ(FolderContents(), std::vector<std::string>{"index.html"});
}

TEST_F(Report, AFileThatCannotBeCreatedIsAnEFCreateError) {
  try {
    CreateReport(PathOf("missing/index.html"));
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно создать файл отчета «" + PathOf("missing/index.html") + "»");
  }
  // A folder standing where the report should go is not replaced.
  fs::create_directories(folder_ / "index.html" / "inside");
  EXPECT_THROW(CreateReport(PathOf("index.html")), EFCreateError);
  EXPECT_EQ(FolderContents(), std::vector<std::string>{"index.html"});
  EXPECT_TRUE(fs::is_directory(folder_ / "index.html"));
}

TEST_F(Report, AProcessThatEndsWithAReportOpenLeavesNoFile) {
  const std::string name = PathOf("index.html");
  EXPECT_EXIT(
      {
        CreateReport(name);
        AddString("Незаконченный отчет", true, 0);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(FolderContents().empty());
}

}  // namespace
