// Window messages and error boxes handed to the GUI thread (this test's main
// thread) from other threads.
#include "shell/model/gui_window.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QThread>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "model_test_support.h"
#include "platform/exceptions.h"
#include "shell/model/gui_error_box.h"

namespace {

using platform::FindWindowByClass;
using platform::SendWindowMessage;

TEST(GuiWindow, ASendOnTheGuiThreadIsHandledAtOnce) {
  QObject receiver;
  GuiWindow window("TWTestDirect", &receiver, [](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    return static_cast<std::intptr_t>(message + wparam + lparam);
  });
  EXPECT_EQ(SendWindowMessage(FindWindowByClass("TWTestDirect"), 0x400, 1000, 50), 0x400 + 1050);
}

TEST(GuiWindow, ASendFromAnotherThreadWaitsUntilTheGuiThreadHasHandledIt) {
  QObject receiver;
  QThread* handledOn = nullptr;
  GuiWindow window("TWTestQueued", &receiver, [&](std::uint32_t, std::uintptr_t wparam, std::intptr_t) {
    handledOn = QThread::currentThread();
    return static_cast<std::intptr_t>(wparam * 2);
  });
  std::atomic<std::intptr_t> answer{-1};
  std::thread sender([&] { answer = SendWindowMessage(FindWindowByClass("TWTestQueued"), 0x401, 21, 0); });
  QThread::msleep(50);
  EXPECT_EQ(answer, -1);  // the sender is still waiting: the GUI thread has not run its events
  EXPECT_TRUE(WaitUntil([&] { return answer != -1; }));
  sender.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(handledOn, QThread::currentThread());
}

TEST(GuiWindow, AHandlersExceptionReachesTheSendingThread) {
  QObject receiver;
  GuiWindow window("TWTestThrows", &receiver, [](std::uint32_t, std::uintptr_t, std::intptr_t) -> std::intptr_t {
    throw Exception("Ошибка окна");
  });
  std::string caught;
  std::atomic<bool> done{false};
  std::thread sender([&] {
    try {
      SendWindowMessage(FindWindowByClass("TWTestThrows"), 0x400, 0, 0);
    } catch (const Exception& error) {
      caught = error.Message();
    }
    done = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
  sender.join();
  EXPECT_EQ(caught, "Ошибка окна");
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
  QThread::msleep(50);  // the sender waits for the GUI thread, which does not run its events
  window.reset();       // must not wait for the sender, which waits for this thread
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
    platform::ShowErrorBox("На этом потоке");
  }
  EXPECT_EQ(prompt.errors, QStringList({"Cannot open file Parameters.dat", "На этом потоке"}));
  EXPECT_EQ(prompt.errorThreads, std::vector<QThread*>(2, QThread::currentThread()));
  // Gone, it has given the error box back.
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("x");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "x\n");
}

}  // namespace
