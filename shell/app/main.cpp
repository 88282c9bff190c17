// The program System: the application object, the main window and the
// message loop until that window closes.
#include "shell/config/method_registry.h"
#include "shell/windows/application.h"
#include "shell/windows/main_window.h"
#include "shell/windows/qt_prompt.h"

int main(int argc, char** argv) {
  Application application(argc, argv);
  // The application's title: Qt shows it as the caption of boxes that have
  // none of their own.
  Application::setApplicationName("TALVO System");
  QtPrompt prompt;
  try {
    TWMain main_window(prompt, ProgramIniPath(Application::applicationFilePath()));
    main_window.show();
    Application::exec();
  } catch (const std::exception& error) {
    prompt.Error(QString::fromUtf8(error.what()));
  }
  return 0;
}
