#include "workbook/f2book.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "platform/exceptions.h"

namespace {

class F2BookTest : public testing::Test {
 protected:
  void SetUp() override {
    book_.SetMaxRow(5);
    book_.SetMaxCol(4);
    book_.resize(400, 300);
    book_.show();
  }

  void Fill(int rows, int cols) {
    for (int row = 1; row <= rows; ++row) {
      for (int col = 1; col <= cols; ++col)
        book_.Sheet().SetText(row, col, QString("%1.%2").arg(row).arg(col));
    }
  }

  CellRange Selection() const {
    CellRange range;
    book_.GetSelection(0, range.top, range.left, range.bottom, range.right);
    return range;
  }

  TF2Book book_;
};

TEST_F(F2BookTest, CutCopyAndPasteGoThroughTheSystemClipboardAsTabText) {
  Fill(2, 2);
  book_.SetSelection(1, 1, 2, 2);
  book_.EditCopy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.1\t1.2\n2.1\t2.2\n");
  book_.SetSelection(4, 3, 4, 3);
  book_.EditPaste();
  EXPECT_EQ(book_.Get_TextRC(4, 3), "1.1");
  EXPECT_EQ(book_.Get_TextRC(5, 4), "2.2");

  book_.SetSelection(1, 2, 2, 2);
  book_.EditCut();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1.2\n2.2\n");
  EXPECT_EQ(book_.Get_TextRC(1, 2), "");
  EXPECT_EQ(book_.Get_TextRC(1, 1), "1.1");

  // Text another program put there; a block that does not fit is refused.
  QGuiApplication::clipboard()->setText("7\t8\r\n9\t10\r\n");
  book_.SetSelection(1, 1, 1, 1);
  book_.EditPaste();
  EXPECT_EQ(book_.Get_TextRC(2, 2), "10");
  book_.SetSelection(5, 4, 5, 4);
  EXPECT_THROW(book_.EditPaste(), Exception);
}

TEST_F(F2BookTest, TheViewsSelectionAndTheSheetsAreOne) {
  book_.selectionModel()->select(QItemSelection(book_.Sheet().index(1, 1), book_.Sheet().index(3, 2)),
                                 QItemSelectionModel::ClearAndSelect);
  EXPECT_EQ(Selection(), (CellRange{2, 2, 4, 3}));
  book_.SetSelection(1, 1, 2, 4);
  const QModelIndexList selected = book_.selectionModel()->selectedIndexes();
  EXPECT_EQ(selected.size(), 8);
  EXPECT_TRUE(book_.selectionModel()->isSelected(book_.Sheet().index(1, 3)));
  qint32 ignored = 0;
  EXPECT_THROW(book_.GetSelection(1, ignored, ignored, ignored, ignored), Exception);
}

TEST_F(F2BookTest, DeleteAndInsertActOnTheSelectedRowsAndColumns) {
  Fill(5, 4);
  book_.SetSelection(2, 2, 3, 2);
  book_.EditDelete(TF2Book::kClearCells);
  EXPECT_EQ(book_.Get_TextRC(2, 1) + book_.Get_TextRC(2, 2), "2.1");
  book_.EditDelete(TF2Book::kShiftRows);
  EXPECT_EQ(book_.Get_TextRC(2, 1), "4.1");
  EXPECT_THROW(book_.EditInsert(TF2Book::kShiftCols), Exception);  // column 4 is full
  book_.SetMaxCol(5);
  book_.EditInsert(TF2Book::kShiftCols);
  EXPECT_EQ(book_.Get_TextRC(1, 3), "1.2");
  book_.DeleteRange(1, 2, 1, 3, TF2Book::kShiftRows);  // the whole row goes
  EXPECT_EQ(book_.Get_TextRC(1, 1), "4.1");
  EXPECT_THROW(book_.EditDelete(2), Exception);
  EXPECT_THROW(book_.EditInsert(1), Exception);
}

TEST_F(F2BookTest, AnEndedCellEditReachesTheHandlerWhichMayCancelIt) {
  QStringList seen;
  qint16 cancel_with = 0;
  book_.SetOnEndEdit([&](QString& text, qint16& cancel) {
    seen.append(text);
    cancel = cancel_with;
  });
  const auto type_into = [&](int row, int col, const QString& text) {
    book_.setCurrentIndex(book_.Sheet().index(row - 1, col - 1));
    book_.edit(book_.currentIndex());
    auto* editor = book_.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maxLength(), 255);
    editor->setText(text);
    // The delegate commits on a queued call, then frees the editor later.
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  type_into(1, 1, "12,5");
  EXPECT_EQ(book_.Get_TextRC(1, 1), "12,5");
  cancel_with = 1;
  type_into(2, 1, "dropped");
  EXPECT_EQ(book_.Get_TextRC(2, 1), "");
  EXPECT_EQ(seen, (QStringList{"12,5", "dropped"}));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
