// Window messages and error boxes handed to the GUI thread (this test's main
// thread) from other threads.
#include "shell/model/gui_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "model_test_support.h"
#include "platform/exceptions.h"

namespace {

using platform::FindWindowByClass;
using platform::SendWindowMessage;

TEST(GuiWindow, MessagesAreHandledOnTheGuiThreadWhileTheSenderWaits) {
  QObject receiver;
  QThread* handledOn = nullptr;
  GuiWindow window("TWTestMain", &receiver,
                   [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
                     handledOn = QThread::currentThread();
                     if (wparam == 0) throw Exception("Ошибка окна");
                     return static_cast<std::intptr_t>(message + wparam + lparam);
                   });
  const auto handle = FindWindowByClass("TWTestMain");
  EXPECT_EQ(SendWindowMessage(handle, 0x400, 1000, 50), 0x400 + 1050);  // on this thread: at once

  std::atomic<std::intptr_t> answer{-1};
  std::string caught;
  std::thread sender([&] {
    answer = SendWindowMessage(handle, 0x401, 20, 1);
    try {
      SendWindowMessage(handle, 0x401, 0, 0);
    } catch (const Exception& error) {
      caught = error.Message();
    }
  });
  QThread::msleep(50);
  EXPECT_EQ(answer, -1);  // the sender waits: this thread has not run its events
  EXPECT_TRUE(WaitUntil([&] { return !caught.empty(); }));
  sender.join();
  EXPECT_EQ(answer, 0x401 + 21);
  EXPECT_EQ(caught, "Ошибка окна");  // the handler's exception reaches the sender
  EXPECT_EQ(handledOn, QThread::currentThread());
}

TEST(GuiWindow, DestroyingTheWindowReleasesAWaitingSenderWithZero) {
  QObject receiver;
  bool handled = false;
  auto window = std::make_unique<GuiWindow>("TWTestGone", &receiver, [&](auto, auto, auto) {
    handled = true;
    return std::intptr_t{7};
  });
  std::atomic<std::intptr_t> answer{-1};
  std::thread sender([&] { answer = SendWindowMessage(FindWindowByClass("TWTestGone"), 0x400, 0, 0); });
  QThread::msleep(50);  // the sender waits for this thread, which does not run its events
  window.reset();       // so this must not wait for the sender
  sender.join();
  EXPECT_EQ(answer, 0);
  ProcessEventsFor(20);
  EXPECT_FALSE(handled);
  EXPECT_EQ(FindWindowByClass("TWTestGone"), nullptr);
}

TEST(GuiErrorBox, ABoxFromAnotherThreadIsShownThroughThePromptOnTheGuiThread) {
  QObject receiver;
  ScriptedPrompt prompt;
  {
    GuiErrorBox box(&receiver, prompt);
    std::atomic<bool> closed{false};
    std::thread library([&] {
      platform::ShowErrorBox("Cannot open file Parameters.dat");
      closed = true;
    });
    QThread::msleep(50);
    EXPECT_FALSE(closed);  // the library waits until the box is closed
    EXPECT_TRUE(WaitUntil([&] { return closed.load(); }));
    library.join();
  }
  EXPECT_EQ(prompt.errors, QStringList({"Cannot open file Parameters.dat"}));
  EXPECT_EQ(prompt.errorThreads.front(), QThread::currentThread());
  // Gone, it has given the error box back.
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("x");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "x\n");
}

}  // namespace
