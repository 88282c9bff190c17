#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <functional>
#include <thread>

#include "platform/window_messages.h"
#include "shell/windows/gauge.h"
#include "shell/windows/main_window.h"
#include "shell/windows/tests/main_window_fixture.h"

namespace {

class ProgressTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    window_ = Open();
    window_->show();
    status_bar_ = Child<QStatusBar>(*window_, "StatusBar");
  }

  std::intptr_t Send(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    return window_->Dispatch(message, wparam, lparam);
  }

  QList<TCGauge*> Gauges() const { return status_bar_->findChildren<TCGauge*>(); }

  // The one bar in the status bar, or null.
  TCGauge* Gauge() const {
    const QList<TCGauge*> gauges = Gauges();
    EXPECT_LE(gauges.size(), 1);
    return gauges.isEmpty() ? nullptr : gauges.first();
  }

  // Runs `sender` on a thread of its own, as a run's worker, while this
  // (the GUI) thread handles the messages it sends.
  static void FromAnotherThread(const std::function<void()>& sender) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      sender();
      done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
  }

  std::unique_ptr<TWMain> window_;
  QStatusBar* status_bar_ = nullptr;
};

// Begin (1000, 50) and twenty default steps: the sender's pattern for
// K·M = 1000, which fills the bar.
TEST_F(ProgressTest, TwentyDefaultStepsFillTheBarOverTheStatusBar) {
  EXPECT_EQ(Send(TWMain::WM_PROGRESSBEGIN, 1000, 50), 0);
  TCGauge* gauge = Gauge();
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->geometry(), QRect(5, 3, status_bar_->width() - 10, status_bar_->height() - 4));
  EXPECT_EQ(gauge->palette().color(QPalette::Highlight), QColor(0, 0, 128));
  EXPECT_EQ(gauge->minimum(), 0);
  EXPECT_EQ(gauge->maximum(), 1000);
  EXPECT_EQ(gauge->value(), 0);
  for (int step = 1; step <= 20; ++step) {
    Send(TWMain::WM_PROGRESSSTEP, 0, 0);
    EXPECT_EQ(gauge->value(), 50 * step);
  }
  EXPECT_EQ(gauge->text(), "100%");

  window_->resize(window_->width() + 100, window_->height());
  EXPECT_EQ(gauge->width(), status_bar_->width() - 10);

  Send(TWMain::WM_PROGRESSEND, 0, 0);
  EXPECT_TRUE(Gauges().isEmpty());
}

TEST_F(ProgressTest, MessagesSentToTheWindowClassFromARunThreadDriveTheBar) {
  std::intptr_t begin_answer = -1;
  QThread* gui_thread = QThread::currentThread();
  FromAnotherThread([&] {
    ASSERT_NE(QThread::currentThread(), gui_thread);
    const platform::WindowHandle window = platform::FindWindowByClass("TWMain");
    ASSERT_NE(window, nullptr);
    begin_answer = platform::SendWindowMessage(window, TWMain::WM_PROGRESSBEGIN, 1000, 50);
    for (int step = 0; step < 10; ++step) platform::SendWindowMessage(window, TWMain::WM_PROGRESSSTEP, 0, 0);
  });
  EXPECT_EQ(begin_answer, 0);
  ASSERT_NE(Gauge(), nullptr);
  EXPECT_EQ(Gauge()->value(), 500);

  FromAnotherThread([] {
    platform::SendWindowMessage(platform::FindWindowByClass("TWMain"), TWMain::WM_PROGRESSEND, 0, 0);
  });
  EXPECT_TRUE(Gauges().isEmpty());
}

TEST_F(ProgressTest, AGivenIncrementCountsAndTheBarStopsAtItsMaximum) {
  Send(TWMain::WM_PROGRESSBEGIN, 45, 2);
  TCGauge* gauge = Gauge();
  ASSERT_NE(gauge, nullptr);
  Send(TWMain::WM_PROGRESSSTEP, 0, 7);
  EXPECT_EQ(gauge->value(), 7);
  for (int step = 0; step < 30; ++step) Send(TWMain::WM_PROGRESSSTEP, 0, 0);
  EXPECT_EQ(gauge->value(), 45);
}

TEST_F(ProgressTest, StepAndEndWithoutABarAreIgnored) {
  EXPECT_EQ(Send(TWMain::WM_PROGRESSSTEP, 0, 0), 0);
  EXPECT_EQ(Send(TWMain::WM_PROGRESSEND, 0, 0), 0);
  EXPECT_TRUE(Gauges().isEmpty());
  EXPECT_TRUE(prompt_.errors.isEmpty());
}

TEST_F(ProgressTest, ANewBeginReplacesTheBarOfARunThatEndedWithoutItsEndMessage) {
  Send(TWMain::WM_PROGRESSBEGIN, 1000, 50);
  Send(TWMain::WM_PROGRESSSTEP, 0, 0);
  Send(TWMain::WM_PROGRESSBEGIN, 200, 10);
  ASSERT_EQ(Gauges().size(), 1);
  EXPECT_EQ(Gauge()->maximum(), 200);
  EXPECT_EQ(Gauge()->value(), 0);
  Send(TWMain::WM_PROGRESSSTEP, 0, 0);
  EXPECT_EQ(Gauge()->value(), 10);
}

TEST_F(ProgressTest, OtherMessagesLeaveTheBarAlone) {
  Send(TWMain::WM_PROGRESSBEGIN, 100, 5);
  EXPECT_EQ(Send(0x403, 0, 1), 0);
  EXPECT_EQ(Send(0x0010, 0, 0), 0);
  ASSERT_NE(Gauge(), nullptr);
  EXPECT_EQ(Gauge()->value(), 0);
}

}  // namespace
