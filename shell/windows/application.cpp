#include "shell/windows/application.h"

#include "shell/windows/qt_prompt.h"

namespace {

Application::ExceptionHandler& InstalledHandler() {
  static Application::ExceptionHandler handler;
  return handler;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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
