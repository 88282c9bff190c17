// The program System: the application object, the main window and the
// message loop until that window closes.
#include <csignal>

#include "shell/config/method_registry.h"
#include "shell/windows/application.h"
#include "shell/windows/main_window.h"
#include "shell/windows/qt_prompt.h"

int main(int argc, char** argv) {
  // A write past the file-size limit then fails like one on a full disk, and
  // the save reports it, instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  Application application(argc, argv);
  // The application's title: Qt shows it as the caption of boxes that have
  // none of their own.
  Application::setApplicationName("TALVO System");
  QtPrompt prompt;
  try {
    TWMain main_window(prompt, ProgramIniPath(Application::applicationFilePath()));
    prompt.SetParent(&main_window);
    main_window.show();
    Application::exec();
  } catch (const std::exception& error) {
    prompt.Error(QString::fromUtf8(error.what()));
  }
  return 0;
}
