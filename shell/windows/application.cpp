#include "shell/windows/application.h"

#include <QHash>
#include <QIcon>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include "shell/windows/qt_prompt.h"

namespace {

// The words of the file dialogs' type column, which the toolkit's Russian
// catalogue (as Debian ships it) lacks.
class FileTypeWords : public QTranslator {
 public:
  using QTranslator::QTranslator;

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    static const QHash<QByteArray, QString> words = {
        {"Folder", "Папка"}, {"Drive", "Диск"}, {"Shortcut", "Ярлык"}, {"Unknown", "Неизвестно"}};
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    return words.value(source);
  }
};

// A dialog cannot be minimised, nor can a window while a dialog waits for an
// answer. Window managers that offer minimising for dialogs all the same hide
// the main window with a modal dialog, and without a task bar the user has
// nothing left to click: both come back at once.
void KeepOnScreen(QWidget* window) {
  if (window == nullptr || !window->isWindow() || !window->isMinimized()) return;
  if (window->windowType() != Qt::Dialog && QApplication::activeModalWidget() == nullptr) return;
  QTimer::singleShot(0, window, [window] {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->activateWindow();
  });
}

Application::ExceptionHandler& InstalledHandler() {
  static Application::ExceptionHandler handler;
  return handler;
}

}  // namespace

// The toolkit's standard dialogs, menus and buttons read Russian beside the
// program's own texts, whatever language the machine is set to. Without the
// translation installed they stay in the toolkit's English.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The catalogue installed last is asked first, so its own words win.
  installTranslator(new FileTypeWords(this));
  auto* toolkit = new QTranslator(this);
  if (toolkit->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(toolkit);
  setWindowIcon(QIcon(":/images/calculation.xpm"));
}

void Application::SetExceptionHandler(ExceptionHandler handler) { InstalledHandler() = std::move(handler); }

void Application::HandleException(const std::exception& error) {
  if (InstalledHandler()) {
    InstalledHandler()(error);
  } else {
    QtPrompt().Error(QString::fromUtf8(error.what()));
  }
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    if (event->type() != QEvent::WindowStateChange) return QApplication::notify(receiver, event);
    const QPointer<QWidget> window = qobject_cast<QWidget*>(receiver);
    const bool handled = QApplication::notify(receiver, event);
    KeepOnScreen(window);
    return handled;
  } catch (const std::exception& error) {
    HandleException(error);
    return false;
  }
}

void RunGuarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    Application::HandleException(error);
  }
}
