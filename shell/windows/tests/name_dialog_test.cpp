#include "shell/windows/name_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Runs `answer` on the dialog once it is shown modally.
void WhenShown(std::function<void(QDialog& dialog, QLineEdit& edit)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog, *dialog->findChild<QLineEdit*>());
  });
}

TEST(NameDialog, EnterInTheEditFieldEndsWithOkAndGivesTheTextAsItIs) {
  QWidget owner;
  WhenShown([](QDialog& dialog, QLineEdit& edit) {
    EXPECT_EQ(dialog.windowTitle(), "Новый проект");
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Название проекта:");
    EXPECT_EQ(edit.text(), "New project");
    edit.setText("Опыт 1");
    QTest::keyClick(&edit, Qt::Key_Return);
  });
  EXPECT_EQ(AskName(&owner, "Новый проект", "Название проекта", "New project"), "Опыт 1");
  WhenShown([](QDialog& dialog, QLineEdit& edit) {
    edit.clear();
    dialog.findChild<QPushButton*>("btnOK")->click();
  });
  EXPECT_EQ(AskName(nullptr, "Переименование проекта", "Название проекта", "Опыт"), "");
}

TEST(NameDialog, EscEndsWithCancelAndDiscardsTheText) {
  WhenShown([](QDialog&, QLineEdit& edit) {
    QTest::keyClicks(&edit, "x");
    QTest::keyClick(&edit, Qt::Key_Escape);
  });
  EXPECT_FALSE(AskName(nullptr, "Новый расчет", "Название расчета", "New calculation").has_value());
}

}  // namespace
