#include "shell/windows/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/windows/qt_prompt.h"

namespace {

Application::ExceptionHandler& InstalledHandler() {
  static Application::ExceptionHandler handler;
  return handler;
}

}  // namespace

// The toolkit's standard dialogs, menus and buttons read Russian beside the
// program's own texts, whatever language the machine is set to. Without the
// translation installed they stay in the toolkit's English.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
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
    return QApplication::notify(receiver, event);
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
