#include "shell/windows/name_dialog.h"

#include <QLabel>
#include <QLineEdit>

TWDialog::TWDialog(QWidget* parent) : QDialog(parent), bevel_(new QFrame(this)) {
  setObjectName("WDialog");
  setWindowTitle("Dialog");
  setFixedSize(312, 123);
  bevel_->setObjectName("Bevel");
  bevel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel_->setGeometry(10, 10, 292, 104);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOK");
  ok->setGeometry(79, 80, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  cancel->setGeometry(159, 80, 75, 25);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<QString> AskName(QWidget* parent, const QString& caption, const QString& label,
                               const QString& initial) {
  TWDialog dialog(parent);
  auto* text_label = new QLabel(label + ":", &dialog);
  auto* edit = new QLineEdit(initial, &dialog);
  dialog.setWindowTitle(caption);
  const QRect bevel = dialog.Bevel()->geometry();
  text_label->adjustSize();
  text_label->move(bevel.left() + 10, bevel.top() + 10);
  edit->move(bevel.left() + 10, bevel.top() + text_label->height() + 20);
  edit->resize(bevel.width() - 20, edit->sizeHint().height());
  // The edit field follows the buttons in the tab order; it takes the focus
  // first so that typing goes into it and Enter ends the dialog with OK.
  edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return edit->text();
}
