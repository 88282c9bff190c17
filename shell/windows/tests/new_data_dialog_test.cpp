#include "shell/windows/new_data_dialog.h"

#include <gtest/gtest.h>

#include <QTest>

#include "platform/exceptions.h"
#include "shell/windows/application.h"

namespace {

TEST(NewDataDialog, OkLowersSizesAboveTheLimitsAndKeepsOthersAsTyped) {
  TWParameters dialog(nullptr, "20000", "300", "", true);
  dialog.bbOkClick();
  EXPECT_EQ(dialog.eRows->text() + " " + dialog.eCols->text(), "16384 256");
  dialog.eRows->setText("0100");
  dialog.eCols->setText("1");
  dialog.bbOkClick();
  EXPECT_EQ(dialog.eRows->text() + " " + dialog.eCols->text(), "0100 1");
  EXPECT_EQ(StrToInt(dialog.eRows->text()), 100);
  EXPECT_THROW(StrToInt("4294967296"), EConvertError);
  EXPECT_THROW(StrToInt("1e3"), EConvertError);
}

TEST(NewDataDialog, ASizeThatIsNoNumberOrBelowOneKeepsTheDialogOpen) {
  QStringList errors;
  Application::SetExceptionHandler([&](const std::exception& error) { errors.append(error.what()); });
  TWParameters dialog(nullptr, "", "300", "", true);
  dialog.show();
  const QStringList refused[] = {
      {"", "300", "'' is not a valid integer value"},
      {"0", "300", "Число строк таблицы должно быть от 1 до 16384"},
      {"-1", "300", "Число строк таблицы должно быть от 1 до 16384"},
      {"5", "0", "Число столбцов таблицы должно быть от 1 до 256"},
  };
  for (const QStringList& sizes : refused) {
    errors.clear();
    dialog.eRows->setText(sizes[0]);
    dialog.eCols->setText(sizes[1]);
    dialog.bbOk->click();
    EXPECT_EQ(errors, QStringList{sizes[2]});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.eCols->text(), sizes[1]);  // a failed rows check stops before the columns
  }
  dialog.eRows->setText("5");
  dialog.eCols->setText("300");
  dialog.bbOk->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.eCols->text(), "256");
  Application::SetExceptionHandler({});
}

TEST(NewDataDialog, SizeFieldsTakeDigitsAndBackspaceOnly) {
  TWParameters dialog(nullptr, "1", "1", "", true);
  dialog.show();
  QLineEdit* rows = dialog.eRows;
  rows->setFocus();
  rows->end(false);
  QTest::keyClicks(rows, "2x");
  EXPECT_EQ(rows->text(), "12");
  QTest::keyClick(rows, Qt::Key_Backspace);
  QTest::keyClicks(rows, "-7");
  EXPECT_EQ(rows->text(), "17");
  EXPECT_FALSE(rows->isReadOnly());
}

TEST(NewDataDialog, TheDescriptionHoldsAtMost255Characters) {
  TWParameters dialog(nullptr, "1", "1", QString(300, u'а'), true);
  EXPECT_EQ(dialog.mInfo->toPlainText(), QString(255, u'а'));
  dialog.mInfo->setPlainText("начало конец");
  QTextCursor cursor = dialog.mInfo->textCursor();
  cursor.setPosition(6);
  dialog.mInfo->setTextCursor(cursor);
  dialog.mInfo->insertPlainText(QString(250, u'x'));
  EXPECT_EQ(dialog.mInfo->toPlainText(), "начало" + QString(243, u'x') + " конец");
}

}  // namespace
