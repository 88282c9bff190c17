// The model's tests run with a Qt application object, so that work handed to
// the GUI thread (this thread) is carried out while a test waits for it.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
