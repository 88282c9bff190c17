#include "shell/windows/new_data_dialog.h"

#include <gtest/gtest.h>

#include <QTest>

#include "platform/exceptions.h"
#include "shell/windows/application.h"

namespace {

class NewDataDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    Application::SetExceptionHandler([this](const std::exception& error) { errors_.append(error.what()); });
  }
  void TearDown() override { Application::SetExceptionHandler({}); }

  QStringList errors_;
};

TEST_F(NewDataDialogTest, OkLowersSizesAboveTheLimitsAndKeepsOthersAsTyped) {
  TWParameters dialog(nullptr, "20000", "300", "", true);
  dialog.bbOkClick();
  EXPECT_EQ(dialog.eRows->text(), "16384");
  EXPECT_EQ(dialog.eCols->text(), "256");
  dialog.eRows->setText("0100");
  dialog.eCols->setText("0");
  dialog.bbOkClick();
  EXPECT_EQ(dialog.eRows->text(), "0100");
  EXPECT_EQ(dialog.eCols->text(), "0");
  EXPECT_EQ(StrToInt(dialog.eRows->text()), 100);
}

TEST_F(NewDataDialogTest, ASizeThatIsNoNumberKeepsTheDialogOpen) {
  TWParameters dialog(nullptr, "", "300", "", true);
  try {
    dialog.bbOkClick();
    FAIL();
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), "'' is not a valid integer value");
  }
  EXPECT_EQ(dialog.eCols->text(), "300");  // the check stopped at the rows
  EXPECT_THROW(StrToInt("4294967296"), EConvertError);
  EXPECT_THROW(StrToInt("1e3"), EConvertError);

  dialog.show();
  dialog.bbOk->click();
  EXPECT_EQ(errors_, QStringList{"'' is not a valid integer value"});
  EXPECT_TRUE(dialog.isVisible());
  dialog.eRows->setText("5");
  dialog.bbOk->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.eCols->text(), "256");
}

TEST_F(NewDataDialogTest, SizeFieldsTakeDigitsAndBackspaceOnly) {
  TWParameters dialog(nullptr, "1", "1", "", true);
  dialog.show();
  QLineEdit* rows = dialog.eRows;
  rows->setFocus();
  rows->end(false);
  QTest::keyClicks(rows, "2x");
  EXPECT_EQ(rows->text(), "12");
  EXPECT_TRUE(rows->isReadOnly());
  QTest::keyClick(rows, Qt::Key_Backspace);
  EXPECT_EQ(rows->text(), "1");
  QTest::keyClicks(rows, "-7");
  EXPECT_EQ(rows->text(), "17");
  EXPECT_FALSE(rows->isReadOnly());
}

TEST_F(NewDataDialogTest, TheDescriptionHoldsAtMost255Characters) {
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
