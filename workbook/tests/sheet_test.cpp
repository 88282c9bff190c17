#include "workbook/sheet.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "platform/exceptions.h"

namespace {

// The sheet's cells as rows of texts, for comparing whole regions at once.
QList<QStringList> Cells(const WorkbookSheet& sheet, int rows, int cols) {
  QList<QStringList> out;
  for (int row = 1; row <= rows; ++row) {
    QStringList cells;
    for (int col = 1; col <= cols; ++col) cells.append(sheet.Text(row, col));
    out.append(cells);
  }
  return out;
}

// A 4 x 3 sheet holding "r<row>c<col>" in every cell.
void FillNamed(WorkbookSheet& sheet) {
  sheet.SetMaxRow(4);
  sheet.SetMaxCol(3);
  for (int row = 1; row <= 4; ++row) {
    for (int col = 1; col <= 3; ++col) sheet.SetText(row, col, QString("r%1c%2").arg(row).arg(col));
  }
}

TEST(WorkbookSheetTest, ColumnsShowTheirLettersUnlessGivenAHeading) {
  WorkbookSheet sheet;
  EXPECT_EQ(sheet.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "A");
  EXPECT_EQ(WorkbookSheet::ColumnLetters(27), "AA");
  EXPECT_EQ(WorkbookSheet::ColumnLetters(256), "IV");
  sheet.SetColumnHeading(2, "Вес");
  EXPECT_EQ(sheet.ColumnHeading(2), "Вес");
  sheet.SetColumnHeading(2, "");
  EXPECT_EQ(sheet.ColumnHeading(2), "B");
}

TEST(WorkbookSheetTest, SizesStayWithinTheWorksheetLimitsAndShrinkingDropsCells) {
  WorkbookSheet sheet;
  EXPECT_THROW(sheet.SetMaxRow(0), Exception);
  EXPECT_THROW(sheet.SetMaxRow(16385), Exception);
  EXPECT_THROW(sheet.SetMaxCol(257), Exception);
  EXPECT_THROW(sheet.SetMaxCol(0), Exception);
  sheet.SetMaxRow(16384);
  sheet.SetMaxCol(256);
  sheet.SetText(16384, 256, "corner");
  EXPECT_EQ(sheet.Text(16384, 256), "corner");

  FillNamed(sheet);
  sheet.SetSelection({2, 2, 4, 3});
  QSignalSpy selection_changed(&sheet, &WorkbookSheet::SelectionChanged);
  sheet.SetMaxRow(3);
  sheet.SetMaxCol(2);
  EXPECT_EQ(sheet.Selection(), (CellRange{2, 2, 3, 2}));
  EXPECT_EQ(selection_changed.count(), 2);
  sheet.SetMaxRow(4);
  sheet.SetMaxCol(3);
  EXPECT_EQ(
      Cells(sheet, 4, 3),
      (QList<QStringList>{{"r1c1", "r1c2", ""}, {"r2c1", "r2c2", ""}, {"r3c1", "r3c2", ""}, {"", "", ""}}));
  EXPECT_THROW(sheet.SetText(5, 1, "x"), Exception);
  EXPECT_EQ(sheet.Text(5, 1), "");
}

TEST(WorkbookSheetTest, InsertingMovesRowsAndColumnsOnWithinTheSize) {
  WorkbookSheet sheet;
  FillNamed(sheet);
  sheet.SetMaxRow(5);
  sheet.InsertRows(2, 1);
  EXPECT_EQ(sheet.MaxRow(), 5);
  EXPECT_EQ(Cells(sheet, 5, 1), (QList<QStringList>{{"r1c1"}, {""}, {"r2c1"}, {"r3c1"}, {"r4c1"}}));

  sheet.SetColumnHeading(2, "X");
  sheet.SetMaxCol(5);
  sheet.InsertColumns(1, 2);
  EXPECT_EQ(sheet.MaxCol(), 5);
  EXPECT_EQ(Cells(sheet, 1, 5), (QList<QStringList>{{"", "", "r1c1", "r1c2", "r1c3"}}));
  EXPECT_EQ(sheet.ColumnHeading(4), "X");
  EXPECT_EQ(sheet.ColumnHeading(2), "B");
}

TEST(WorkbookSheetTest, AnInsertThatWouldPushTextOffTheSheetChangesNothing) {
  WorkbookSheet sheet;
  FillNamed(sheet);
  const QList<QStringList> before = Cells(sheet, 4, 3);
  EXPECT_THROW(sheet.InsertRows(1, 1), Exception);
  EXPECT_THROW(sheet.InsertColumns(3, 1), Exception);
  EXPECT_EQ(Cells(sheet, 4, 3), before);
  // Emptied last row: the insert may push it off.
  sheet.ClearRange({4, 1, 4, 3});
  sheet.InsertRows(1, 1);
  EXPECT_EQ(sheet.Text(2, 1), "r1c1");
  EXPECT_EQ(sheet.Text(4, 3), "r3c3");
}

TEST(WorkbookSheetTest, DeletingMovesTheRestUpOrLeftAndEmptiesTheEnd) {
  WorkbookSheet sheet;
  FillNamed(sheet);
  sheet.DeleteRows(2, 2);
  EXPECT_EQ(sheet.MaxRow(), 4);
  EXPECT_EQ(Cells(sheet, 4, 1), (QList<QStringList>{{"r1c1"}, {"r4c1"}, {""}, {""}}));
  sheet.DeleteColumns(1, 1);
  EXPECT_EQ(Cells(sheet, 2, 3), (QList<QStringList>{{"r1c2", "r1c3", ""}, {"r4c2", "r4c3", ""}}));
  // A count beyond the sheet takes what there is.
  sheet.DeleteRows(2, 100);
  EXPECT_EQ(Cells(sheet, 2, 1), (QList<QStringList>{{"r1c2"}, {""}}));
}

TEST(WorkbookSheetTest, SelectionsAreClippedAndMayBeEmpty) {
  WorkbookSheet sheet;
  FillNamed(sheet);
  sheet.SetSelection({0, 2, 99, 99});
  EXPECT_EQ(sheet.Selection(), (CellRange{1, 2, 4, 3}));
  // Every selected row removed: the bottom lies above the top.
  sheet.SetSelection({3, 1, 2, 3});
  EXPECT_TRUE(sheet.Selection().IsEmpty());
  EXPECT_EQ(sheet.Selection().Rows(), 0);
}

TEST(WorkbookSheetTest, PastesThatDoNotFitChangeNothing) {
  WorkbookSheet sheet;
  FillNamed(sheet);
  const QList<QStringList> before = Cells(sheet, 4, 3);
  EXPECT_THROW(sheet.PasteText(4, 1, "a\nb\n"), Exception);
  EXPECT_THROW(sheet.PasteText(1, 3, "a\tb\n"), Exception);
  sheet.PasteText(1, 1, "");
  EXPECT_EQ(Cells(sheet, 4, 3), before);
}

TEST(WorkbookSheetTest, AssignReplacesSizeAndCellsAndRefusesWhatDoesNotFit) {
  WorkbookSheet sheet;
  sheet.SetHint("описание");
  sheet.SetSelection({2, 2, 3, 3});
  sheet.Assign(2, 3, {{"1", "2"}, {"", "", "6"}});
  EXPECT_EQ(sheet.MaxRow(), 2);
  EXPECT_EQ(sheet.MaxCol(), 3);
  EXPECT_EQ(Cells(sheet, 2, 3), (QList<QStringList>{{"1", "2", ""}, {"", "", "6"}}));
  EXPECT_EQ(sheet.Selection(), (CellRange{1, 1, 1, 1}));
  EXPECT_EQ(sheet.Hint(), "описание");
  EXPECT_THROW(sheet.Assign(16385, 1, {}), Exception);
  EXPECT_THROW(sheet.Assign(1, 2, {{"a", "b", "c"}}), Exception);
  EXPECT_EQ(sheet.MaxRow(), 2);
}

// A mark says how its cell goes to a workbook file, so it has to stay with
// that cell's text: the marks are checked against the texts they belong to.
TEST(WorkbookSheetTest, CellsThatCameInAsTextsKeepTheirMarkWhereverTheyMoveUntilChanged) {
  WorkbookSheet sheet;
  const auto marked = [&] {
    QStringList texts;
    for (int row = 1; row <= sheet.MaxRow(); ++row) {
      for (int col = 1; col <= sheet.MaxCol(); ++col) {
        if (sheet.CameInAsText(row, col)) texts.append(sheet.Text(row, col));
      }
    }
    return texts;
  };
  sheet.Assign(4, 4, {{"a", "1"}, {"2", "b", "c"}, {"", "3", "d"}},
               {{true, false}, {false, true, true}, {false, false, true}});
  EXPECT_EQ(marked(), (QStringList{"a", "b", "c", "d"}));
  sheet.InsertRows(1, 1);
  sheet.InsertColumns(2, 1);
  EXPECT_EQ(sheet.Text(3, 3), "b");
  EXPECT_EQ(marked(), (QStringList{"a", "b", "c", "d"}));
  sheet.DeleteRows(2, 1);
  sheet.DeleteColumns(1, 1);
  EXPECT_EQ(sheet.Text(2, 3), "c");
  EXPECT_EQ(marked(), (QStringList{"b", "c", "d"}));
  sheet.SetText(2, 2, "b2");
  sheet.ClearRange({2, 3, 2, 3});
  sheet.SetText(3, 3, "d");  // an edit that changes nothing
  EXPECT_EQ(marked(), (QStringList{"d"}));
  sheet.PasteText(3, 3, "d");
  EXPECT_EQ(marked(), QStringList());
}

}  // namespace
