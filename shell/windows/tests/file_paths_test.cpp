// Path texts, dialog filters and run names, without a window.
#include "shell/windows/file_paths.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "shell/windows/file_dialog.h"
#include "shell/windows/main_window.h"
#include "shell/windows/run_names.h"

namespace {

TEST(FilePaths, ExtensionsAndTheDefaultExtension) {
  EXPECT_EQ(ExtensionOf("/p/x.spr"), ".spr");
  EXPECT_EQ(ExtensionOf("/p.d/x"), "");
  EXPECT_EQ(ExtensionOf("/p/x.tar.gz"), ".gz");
  EXPECT_EQ(WithDefaultExtension("/p/new", "scl"), "/p/new.scl");
  EXPECT_EQ(WithDefaultExtension("/p/a.spr", "scl"), "/p/a.spr");
  EXPECT_EQ(WithDefaultExtension("/p.d/new", ""), "/p.d/new");
}

// The types compare the extension exactly: letter case counts, and "htm" is
// no report.
TEST(FilePaths, FileTypeByExtension) {
  EXPECT_EQ(TWMain::FileTypeByExt("/p/x.spr"), ftProject);
  EXPECT_EQ(TWMain::FileTypeByExt("&3 /p/x.scl"), ftCalculation);
  EXPECT_EQ(TWMain::FileTypeByExt("x.sds"), ftDataSet);
  EXPECT_EQ(TWMain::FileTypeByExt("/r/index.html"), ftReport);
  for (const char* other : {"/p/x.SPR", "/r/index.htm", "/p/x.xls", "/p.spr/x", "/p/x"}) {
    EXPECT_EQ(TWMain::FileTypeByExt(other), ftOther) << other;
  }
}

TEST(FilePaths, PathsRelativeToTheProjectFolder) {
  EXPECT_EQ(RelativePath("/Q/r/c.scl", "/P/s/"), "../../Q/r/c.scl");
  EXPECT_EQ(RelativePath("/p/a.scl", "/P/"), "../p/a.scl");  // names are case-sensitive here
  EXPECT_EQ(RelativePath("/P/a.scl", ""), "/P/a.scl");       // a project never saved
  EXPECT_EQ(RelativePath("Безымянный", "/P/"), "Безымянный");
}

TEST(FilePaths, RecentListsPutNewPathsInFrontAndKeepListedOnesInPlace) {
  QStringList list{"/a.spr", "/b.spr"};
  AddRecentPath(list, "/b.spr", 4);
  AddRecentPath(list, "/B.spr", 4);
  AddRecentPath(list, "/c.spr", 4);
  EXPECT_EQ(list, QStringList({"/c.spr", "/B.spr", "/a.spr", "/b.spr"}));
  AddRecentPath(list, "/d.spr", 4);
  EXPECT_EQ(list, QStringList({"/d.spr", "/c.spr", "/B.spr", "/a.spr"}));
}

TEST(FilePaths, DialogFilterPairsBecomeQtNameFiltersWithAllFilesAsStar) {
  EXPECT_EQ(QtNameFilters("Файл проекта (*.spr)|*.spr|Файл отчета (*.html,*.htm)|*.html;*.htm|"
                          "Все файлы (*.*)|*.*"),
            QStringList({"Файл проекта (*.spr) (*.spr)", "Файл отчета (*.html,*.htm) (*.html *.htm)",
                         "Все файлы (*.*) (*)"}));
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

// Monday 5 January 2004, 09:03:07.045, a time chosen by hand; the names are
// Russian whatever the process's locale.
TEST(FilePaths, RunFolderStampAndReportCaptionOfATime) {
  QLocale::setDefault(QLocale::c());
  const QDateTime time(QDate(2004, 1, 5), QTime(9, 3, 7, 45));
  EXPECT_EQ(RunFolderStamp(time), "20040105-090307045");
  EXPECT_EQ(ReportCaption(time), "Отчет на пн, 5 января 2004 (09:03:07.045)");
  EXPECT_EQ(RunFolderStamp(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999))), "20231231-235959999");
}

}  // namespace
