#include "workbook/tab_text.h"

#include <gtest/gtest.h>

namespace workbook {
namespace {

TEST(TabTextTest, RowsEndWithLineBreaksAndCellsAreSeparatedByTabs) {
  EXPECT_EQ(EncodeTabText({{"1", "2,5"}, {"", "x"}}), "1\t2,5\n\tx\n");
  EXPECT_EQ(DecodeTabText("1\t2,5\n\tx\n"), (QList<QStringList>{{"1", "2,5"}, {"", "x"}}));
}

TEST(TabTextTest, ReadsWhatOtherSpreadsheetsPutOnTheClipboard) {
  // Windows line ends, no line end after the last row, ragged rows.
  EXPECT_EQ(DecodeTabText("a\tb\r\nc"), (QList<QStringList>{{"a", "b"}, {"c"}}));
  EXPECT_EQ(DecodeTabText("a\t\n"), (QList<QStringList>{{"a", ""}}));
  EXPECT_TRUE(DecodeTabText("").isEmpty());
  // A quote inside a cell or an unclosed quote is text as it stands.
  EXPECT_EQ(DecodeTabText("a\"b\t\"c\n"), (QList<QStringList>{{"a\"b", "\"c"}}));
  EXPECT_EQ(DecodeTabText("\"x\"y\n"), (QList<QStringList>{{"\"x\"y"}}));
}

TEST(TabTextTest, CellsWithTabsLineBreaksOrLeadingQuotesComeBackWhole) {
  const QList<QStringList> rows = {{"a\tb", "line 1\nline 2", "\"quoted\""}, {"", "end\r"}, {"\"\""}};
  const QString text = EncodeTabText(rows);
  EXPECT_EQ(text, "\"a\tb\"\t\"line 1\nline 2\"\t\"\"\"quoted\"\"\"\n\t\"end\r\"\n\"\"\"\"\"\"\n");
  EXPECT_EQ(DecodeTabText(text), rows);
}

}  // namespace
}  // namespace workbook
