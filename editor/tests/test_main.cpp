// The editor's tests run headless under one application object, as the
// editor runs inside the shell's.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/number_format.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // Numbers are written with the Russian comma, whatever the machine's locale.
  platform::FixDecimalSeparator(",");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
