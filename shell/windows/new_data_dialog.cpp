#include "shell/windows/new_data_dialog.h"

#include <QKeyEvent>
#include <QPalette>
#include <QStyle>
#include <QTextCursor>
#include <limits>

#include "platform/exceptions.h"
#include "shell/windows/application.h"

namespace {

constexpr int kClientWidth = 399;
constexpr int kClientHeight = 127;
constexpr char16_t kBackspace = 8;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QGroupBox* BlueGroup(const QString& caption, QWidget* parent, const char* name) {
  auto* group = Named(new QGroupBox(caption, parent), name);
  QPalette palette = group->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  group->setPalette(palette);
  return group;
}

}  // namespace

int StrToInt(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok, 10);
  if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    throw EConvertError(QString("'%1' is not a valid integer value").arg(text).toStdString());
  }
  return static_cast<int>(value);
}

TWParameters::TWParameters(QWidget* owner, const QString& rows, const QString& cols,
                           const QString& description, bool editable)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  CreateComponents();
  eCols->setText(cols);
  eRows->setText(rows);
  eCols->setEnabled(editable);
  eRows->setEnabled(editable);
  mInfo->setPlainText(description);
  LimitInfo();
}

void TWParameters::CreateComponents() {
  setObjectName("WParameters");
  setWindowTitle("Новые данные");
  setFixedSize(kClientWidth, kClientHeight);

  gbDimensions = BlueGroup("Размеры таблицы", this, "gbDimensions");
  gbDimensions->setGeometry(8, 4, 185, 81);
  lCols = Named(new QLabel("Число столбцов", gbDimensions), "lCols");
  lCols->move(10, 24);
  eCols = Named(new QLineEdit(gbDimensions), "eCols");
  eCols->setGeometry(120, 20, 55, 21);
  lRows = Named(new QLabel("Число строк", gbDimensions), "lRows");
  lRows->move(10, 52);
  eRows = Named(new QLineEdit(gbDimensions), "eRows");
  eRows->setGeometry(120, 48, 55, 21);
  eCols->installEventFilter(this);
  eRows->installEventFilter(this);

  bbOk = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this), "bbOk");
  bbOk->setGeometry(16, 94, 80, 25);
  bbOk->setDefault(true);
  connect(bbOk, &QPushButton::clicked, this, [this] {
    // A size that is no number stays in the open dialog to be mended.
    bool checked = false;
    RunGuarded([&] {
      bbOkClick();
      checked = true;
    });
    if (checked) accept();
  });
  bbCancel = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Отмена", this),
                   "bbCancel");
  bbCancel->setGeometry(104, 94, 80, 25);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

  gbInfo = BlueGroup("Описание данных", this, "gbInfo");
  gbInfo->setGeometry(200, 4, 191, 115);
  mInfo = Named(new QPlainTextEdit(gbInfo), "mInfo");
  mInfo->setGeometry(8, 18, 175, 89);
  connect(mInfo, &QPlainTextEdit::textChanged, this, [this] { LimitInfo(); });

  setTabOrder(eCols, eRows);
  setTabOrder(eRows, bbOk);
  setTabOrder(bbOk, bbCancel);
  setTabOrder(bbCancel, mInfo);
}

// A sheet has at least one row and one column: a smaller count is refused
// here, where it can still be mended, as a count that is no number is.
void TWParameters::bbOkClick() {
  const auto check = [](QLineEdit* edit, const char* lines, int limit) {
    const int count = StrToInt(edit->text());
    if (count < 1) {
      throw EConvertError(
          QString("Число %1 таблицы должно быть от 1 до %2").arg(lines).arg(limit).toStdString());
    }
    if (count > limit) edit->setText(QString::number(limit));
  };
  check(eRows, "строк", kMaxRows);
  check(eCols, "столбцов", kMaxCols);
}

bool TWParameters::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == eRows || watched == eCols)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Only keys that type a character count; Delete and the arrows type none.
    if (!key->text().isEmpty() && key->key() != Qt::Key_Delete) {
      SizeKeyPress(static_cast<QLineEdit*>(watched), key->text().front());
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TWParameters::SizeKeyPress(QLineEdit* edit, QChar key) {
  const bool accepted = (key >= u'0' && key <= u'9') || key == QChar(kBackspace);
  edit->setReadOnly(!accepted);
}

// As a memo with a maximum length does, what was just typed or pasted, which
// lies before the cursor, is cut to what fits.
void TWParameters::LimitInfo() {
  const qsizetype excess = mInfo->toPlainText().size() - kMaxInfo;
  if (excess <= 0) return;
  QTextCursor cursor = mInfo->textCursor();
  int end = cursor.position();
  if (end < excess) end = static_cast<int>(mInfo->toPlainText().size());
  cursor.setPosition(end - static_cast<int>(excess));
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}
