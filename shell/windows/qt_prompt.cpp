#include "shell/windows/qt_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

QtPrompt::QtPrompt(QWidget* parent) : parent_(parent) {}

QWidget* QtPrompt::Owner() const { return parent_ ? parent_.data() : QApplication::activeWindow(); }

void QtPrompt::Error(const QString& text) {
  QMessageBox box(QMessageBox::Critical, "Ошибка", text, QMessageBox::NoButton, Owner());
  box.addButton("OK", QMessageBox::AcceptRole);
  box.exec();
}

Prompt::Answer QtPrompt::Question(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, Owner());
  QPushButton* yes = box.addButton("Да", QMessageBox::YesRole);
  QPushButton* no = box.addButton("Нет", QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}
