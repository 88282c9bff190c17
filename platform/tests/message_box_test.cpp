#include "platform/message_box.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBox, WithoutAHandlerTheTextGoesToStandardError) {
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("Cannot open file Parameters.dat");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open file Parameters.dat\n");
}

TEST(MessageBox, AnInstalledHandlerReceivesTheTextUntilReplaced) {
  std::string shown;
  auto previous = platform::SetMessageBoxHandler([&](const std::string& text) { shown = text; });
  platform::ShowErrorBox("Ошибка");
  EXPECT_EQ(shown, "Ошибка");
  auto mine = platform::SetMessageBoxHandler(previous);
  EXPECT_TRUE(static_cast<bool>(mine));
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("x");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "x\n");
}

}  // namespace
