// Drives the editor's form the way a user does, by the names of its widgets,
// so that the same steps work on the dialog of the tests' own build and on
// the one inside the loaded editor library.
#pragma once

#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

namespace driver {

template <typename Widget>
Widget& Find(QWidget& form, const char* name) {
  auto* widget = form.findChild<Widget*>(name);
  if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *widget;
}

// Picks the item whose data is `code` (a test or generator kind).
void Choose(QWidget& form, const char* combo, int code);
int Chosen(QWidget& form, const char* combo);
void SetNumber(QWidget& form, const char* spin_box, int value);
void Type(QWidget& form, const char* line_edit, const QString& text);
void Check(QWidget& form, const char* check_box, bool checked);

// Types into a cell of a table through the view's own cell editor, ending
// with Enter.
void TypeIntoCell(QWidget& form, const char* table, int row, int column, const QString& text);
QString Cell(QWidget& form, const char* table, int row, int column);

bool Shown(QWidget& form, const char* name);
// The reason beside the field, or "" when it shows none.
QString Problem(QWidget& form, const std::string& field);
bool OkEnabled(QWidget& form);
void ClickOk(QWidget& form);
void ClickCancel(QWidget& form);

}  // namespace driver
