#include "shell/windows/qt_prompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include "shell/windows/file_dialog.h"
#include "shell/windows/file_list_columns.h"
#include "shell/windows/name_dialog.h"

namespace {

// A box with a short text is made wide enough for its caption beside the
// window manager's icon and buttons on the title bar, which the toolkit does
// not count.
void KeepCaptionWhole(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  QFont title_font = box.font();
  title_font.setBold(true);
  const int title_bar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
  const int wanted = QFontMetrics(title_font).horizontalAdvance(box.windowTitle()) + 5 * title_bar;
  grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                1, grid->columnCount());
}

// A question that only its buttons answer, as the platform's Yes/No box: Esc
// and the window's close button mean "not now", neither yes nor no, and leave
// it open. It asks the window manager for no close button either.
class ButtonsOnlyBox : public QMessageBox {
 public:
  ButtonsOnlyBox(const QString& caption, const QString& text, QWidget* owner)
      : QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, owner) {
    // The box's constructor adds the close button to whatever it is given.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!event->matches(QKeySequence::Cancel)) QMessageBox::keyPressEvent(event);
  }

  void closeEvent(QCloseEvent* event) override {
    if (clickedButton() == nullptr) {
      event->ignore();
    } else {
      QMessageBox::closeEvent(event);
    }
  }
};

}  // namespace

QtPrompt::QtPrompt(QWidget* parent) : parent_(parent) {}

void QtPrompt::SetParent(QWidget* parent) { parent_ = parent; }

// Over the dialog that is up, so that the box stays above it, or else over
// the parent whether or not a window is active: a box that follows another
// finds none active, and would otherwise open in the middle of the screen.
QWidget* QtPrompt::Owner() const {
  if (QWidget* dialog = QApplication::activeModalWidget()) return dialog;
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

void QtPrompt::Error(const QString& text) { Tell(QMessageBox::Critical, "Ошибка", text); }

void QtPrompt::Information(const QString& text) { Tell(QMessageBox::Information, "Информация", text); }

// The box takes the application's title as its caption.
void QtPrompt::ShowMessage(const QString& text) {
  Tell(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text);
}

void QtPrompt::Tell(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, Owner());
  box.addButton("OK", QMessageBox::AcceptRole);
  KeepCaptionWhole(box);
  box.exec();
}

Prompt::Answer QtPrompt::Question(const QString& caption, const QString& text) {
  ButtonsOnlyBox box(caption, text, Owner());
  return YesOrNo(box);
}

// Esc answers a confirmation with its safe answer, No.
Prompt::Answer QtPrompt::Confirm(const QString& text) {
  QMessageBox box(QMessageBox::Question, "Подтверждение", text, QMessageBox::NoButton, Owner());
  return YesOrNo(box);
}

Prompt::Answer QtPrompt::YesOrNo(QMessageBox& box) {
  QPushButton* yes = box.addButton("Да", QMessageBox::YesRole);
  box.addButton("Нет", QMessageBox::NoRole);
  box.setDefaultButton(yes);
  KeepCaptionWhole(box);
  box.exec();
  return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtPrompt::AskName(const QString& caption, const QString& label,
                                         const QString& initial) {
  return ::AskName(Owner(), caption, label, initial);
}

std::optional<QString> QtPrompt::OpenFileName(const FileDialogSetup& setup) {
  return ChooseFile(setup, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompt::SaveFileName(const FileDialogSetup& setup) {
  return ChooseFile(setup, QFileDialog::AcceptSave);
}

// Qt's own dialog on every desktop, so that the filters show as the system
// words them: the descriptions already name their patterns.
std::optional<QString> QtPrompt::ChooseFile(const FileDialogSetup& setup, QFileDialog::AcceptMode mode) {
  const bool open = mode == QFileDialog::AcceptOpen;
  QFileDialog dialog(Owner(), open ? "Открыть" : "Сохранить как", setup.initial_folder);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                    QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(mode);
  // A typed name is returned whether or not such a file exists.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setLabelText(QFileDialog::LookIn, "Папка:");
  dialog.setLabelText(QFileDialog::FileName, "Имя файла:");
  dialog.setLabelText(QFileDialog::FileType, "Тип файлов:");
  dialog.setLabelText(QFileDialog::Accept, open ? "Открыть" : "Сохранить");
  dialog.setLabelText(QFileDialog::Reject, "Отмена");
  const QStringList filters = QtNameFilters(setup.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (setup.filter_index >= 1 && setup.filter_index <= filters.size()) {
      dialog.selectNameFilter(filters[setup.filter_index - 1]);
    }
  }
  if (file_dialog_size_.isValid()) dialog.resize(file_dialog_size_);
  const auto* columns = new FileListColumns(dialog, setup.filter, !file_dialog_size_.isValid());
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (dialog.size() != columns->ShownSize()) file_dialog_size_ = dialog.size();
  if (!chosen) return std::nullopt;
  return dialog.selectedFiles().first();
}
