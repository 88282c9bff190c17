// The window tests run headless with the program's own application object,
// so that exceptions reaching the event loop are handled as in the program.
#include <gtest/gtest.h>

#include "shell/windows/application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
