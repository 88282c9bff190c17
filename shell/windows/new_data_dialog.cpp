#include "shell/windows/new_data_dialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>
#include <QTextCursor>
#include <QWindow>
#include <limits>
#include <optional>

#include "platform/exceptions.h"
#include "shell/windows/application.h"
#include "shell/windows/window_manager_hints.h"

namespace {

constexpr int kClientWidth = 399;
constexpr int kClientHeight = 127;
constexpr char16_t kBackspace = 8;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// The dialog's title bar, drawn by the dialog itself: a window manager that
// draws the title bar also draws its buttons, whatever the window asks for.
// It shows the window's caption and moves the window when dragged.
class TitleBar : public QWidget {
 public:
  explicit TitleBar(QWidget* window) : QWidget(window) {
    setObjectName("TitleBar");
    setFixedHeight(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QStyleOptionTitleBar option;
    option.initFrom(this);
    option.text = window()->windowTitle();
    option.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint;
    option.subControls = QStyle::SC_TitleBarLabel;
    // Styles read the active state from the title bar's own state.
    option.titleBarState = window()->isActiveWindow() ? int(QStyle::State_Active) : 0;
    QPainter painter(this);
    style()->drawComplexControl(QStyle::CC_TitleBar, &option, &painter, this);
  }

  // The window manager moves the window where it can; elsewhere the bar
  // follows the pointer itself.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    QWindow* handle = window()->windowHandle();
    dragging_from_ = handle != nullptr && handle->startSystemMove()
                         ? std::nullopt
                         : std::optional(event->globalPosition().toPoint() - window()->pos());
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragging_from_ && (event->buttons() & Qt::LeftButton))
      window()->move(event->globalPosition().toPoint() - *dragging_from_);
  }

  void mouseReleaseEvent(QMouseEvent* /*event*/) override { dragging_from_.reset(); }

 private:
  std::optional<QPoint> dragging_from_;
};

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

// No title bar of the window manager's: the dialog draws its own frame and
// title bar, which carry no buttons.
TWParameters::TWParameters(QWidget* owner, const QString& rows, const QString& cols,
                           const QString& description, bool editable)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint) {
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
  const int frame = FrameWidth();
  auto* title_bar = new TitleBar(this);
  title_bar->setGeometry(frame, frame, kClientWidth, title_bar->height());
  auto* client = new QWidget(this);
  client->setGeometry(frame, frame + title_bar->height(), kClientWidth, kClientHeight);
  setFixedSize(kClientWidth + 2 * frame, kClientHeight + title_bar->height() + 2 * frame);

  gbDimensions = BlueGroup("Размеры таблицы", client, "gbDimensions");
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

  bbOk = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", client), "bbOk");
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
  bbCancel = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Отмена", client),
                   "bbCancel");
  bbCancel->setGeometry(104, 94, 80, 25);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

  gbInfo = BlueGroup("Описание данных", client, "gbInfo");
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

// The window exists by now. Window managers that offer every dialog
// minimising and full screen whatever its hints ask (openbox) offer neither
// to a tool bar window; Qt names the type only once the window exists.
void TWParameters::showEvent(QShowEvent* event) {
  setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
  AllowMovingOnly(*this);
  QDialog::showEvent(event);
}

int TWParameters::FrameWidth() const {
  return style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
}

void TWParameters::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QStyleOptionFrame option;
  option.initFrom(this);
  option.lineWidth = FrameWidth();
  if (isActiveWindow()) option.state |= QStyle::State_Active;
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_FrameWindow, &option, &painter, this);
}

// The frame and the title bar are drawn as active while the dialog is.
void TWParameters::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) {
    update();
    for (QWidget* child : findChildren<QWidget*>("TitleBar")) child->update();
  }
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
