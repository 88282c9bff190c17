#include "dialog_driver.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

namespace driver {

void Choose(QWidget& form, const char* combo, int code) {
  auto& box = Find<QComboBox>(form, combo);
  const int index = box.findData(code);
  if (index < 0) throw std::runtime_error("no item " + std::to_string(code));
  box.setCurrentIndex(index);
}

int Chosen(QWidget& form, const char* combo) { return Find<QComboBox>(form, combo).currentData().toInt(); }

void SetNumber(QWidget& form, const char* spin_box, int value) {
  Find<QSpinBox>(form, spin_box).setValue(value);
}

namespace {

// Key by key, Cyrillic and other letters too, which QTest::keyClicks takes in
// ASCII only.
void KeyClicks(QWidget* widget, const QString& text) {
  for (const QChar letter : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(letter), Qt::NoModifier);
  }
}

}  // namespace

void Type(QWidget& form, const char* line_edit, const QString& text) {
  auto& edit = Find<QLineEdit>(form, line_edit);
  edit.clear();
  KeyClicks(&edit, text);
}

void Check(QWidget& form, const char* check_box, bool checked) {
  Find<QCheckBox>(form, check_box).setChecked(checked);
}

void TypeIntoCell(QWidget& form, const char* table, int row, int column, const QString& text) {
  auto& view = Find<QTableView>(form, table);
  const QModelIndex index = view.model()->index(row, column);
  // Moving onto a cell opens its editor.
  view.setCurrentIndex(index);
  auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(index));
  if (editor == nullptr) throw std::runtime_error("the cell opened no editor");
  editor->selectAll();
  KeyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  // The view takes the text over from its editor through the event queue.
  QCoreApplication::processEvents();
}

QString Cell(QWidget& form, const char* table, int row, int column) {
  QAbstractItemModel* model = Find<QTableView>(form, table).model();
  return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

bool Shown(QWidget& form, const char* name) { return Find<QWidget>(form, name).isVisibleTo(&form); }

QString Problem(QWidget& form, const std::string& field) {
  auto& label = Find<QLabel>(form, ("lblProblem" + field).c_str());
  return label.isVisibleTo(&form) ? label.text() : QString();
}

bool OkEnabled(QWidget& form) { return Find<QPushButton>(form, "btnOK").isEnabled(); }

void ClickOk(QWidget& form) { Find<QPushButton>(form, "btnOK").click(); }

void ClickCancel(QWidget& form) { Find<QPushButton>(form, "btnCancel").click(); }

}  // namespace driver
