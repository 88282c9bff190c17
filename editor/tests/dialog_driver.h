// Drives the editor's form the way a user does, by the names of its widgets,
// so that the same steps work on the dialog of the tests' own build and on
// the one inside the loaded editor library.
#pragma once

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <stdexcept>
#include <string>

namespace driver {

template <typename Widget>
Widget& Find(QWidget& form, const char* name) {
  auto* widget = form.findChild<Widget*>(name);
  if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *widget;
}

// Picks the item whose data is `code` (a test or generator kind).
inline void Choose(QWidget& form, const char* combo, int code) {
  auto& box = Find<QComboBox>(form, combo);
  if (box.findData(code) < 0) throw std::runtime_error("no item " + std::to_string(code));
  box.setCurrentIndex(box.findData(code));
}

inline int Chosen(QWidget& form, const char* combo) {
  return Find<QComboBox>(form, combo).currentData().toInt();
}
inline void SetNumber(QWidget& form, const char* spin_box, int value) {
  Find<QSpinBox>(form, spin_box).setValue(value);
}
inline void Check(QWidget& form, const char* box, bool checked) {
  Find<QCheckBox>(form, box).setChecked(checked);
}

// Key by key, Cyrillic and other letters too, which QTest::keyClicks takes in
// ASCII only.
inline void KeyClicks(QWidget* widget, const QString& text) {
  for (const QChar letter : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(letter), Qt::NoModifier);
  }
}

inline void Type(QWidget& form, const char* line_edit, const QString& text) {
  auto& edit = Find<QLineEdit>(form, line_edit);
  edit.clear();
  KeyClicks(&edit, text);
}

// Types into a cell of a table through the view's own cell editor, ending
// with Enter.
inline void TypeIntoCell(QWidget& form, const char* table, int row, int column, const QString& text) {
  auto& view = Find<QTableView>(form, table);
  const QModelIndex index = view.model()->index(row, column);
  view.setCurrentIndex(index);  // moving onto a cell opens its editor
  auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(index));
  if (editor == nullptr) throw std::runtime_error("the cell opened no editor");
  editor->selectAll();
  KeyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the view takes the text over through the event queue
}

inline QString Cell(QWidget& form, const char* table, int row, int column) {
  QAbstractItemModel* model = Find<QTableView>(form, table).model();
  return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

inline bool Shown(QWidget& form, const char* name) { return Find<QWidget>(form, name).isVisibleTo(&form); }

// The reason beside the field, or "" when it shows none.
inline QString Problem(QWidget& form, const std::string& field) {
  auto& label = Find<QLabel>(form, ("lblProblem" + field).c_str());
  return label.isVisibleTo(&form) ? label.text() : QString();
}

inline bool OkEnabled(QWidget& form) { return Find<QPushButton>(form, "btnOK").isEnabled(); }
inline void ClickOk(QWidget& form) { Find<QPushButton>(form, "btnOK").click(); }
inline void ClickCancel(QWidget& form) { Find<QPushButton>(form, "btnCancel").click(); }

}  // namespace driver
