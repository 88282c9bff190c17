#include "platform/message_box.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBox, AnInstalledHandlerReceivesTheTextUntilReplacedThenItGoesToStandardError) {
  std::string shown;
  auto previous = platform::SetMessageBoxHandler([&](const std::string& text) { shown = text; });
  platform::ShowErrorBox("Ошибка");
  EXPECT_EQ(shown, "Ошибка");
  EXPECT_TRUE(static_cast<bool>(platform::SetMessageBoxHandler(previous)));
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("Cannot open file Parameters.dat");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open file Parameters.dat\n");
}

}  // namespace
