// The name dialog: a small modal form with OK (Enter) and Cancel (Esc) on
// which each caller puts a label and an edit field to ask for one line.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <optional>

class TWDialog : public QDialog {
 public:
  explicit TWDialog(QWidget* parent);

  QFrame* Bevel() const { return bevel_; }

 private:
  QFrame* bevel_;
};

// Asks for a name on a TWDialog centred over `parent`: `label` followed by
// ":" above an edit field holding `initial`. The text on OK, taken as it is
// (an empty one too); nothing on Cancel or when the window is closed.
std::optional<QString> AskName(QWidget* parent, const QString& caption, const QString& label,
                               const QString& initial);
