#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>

#include "platform/progress_messages.h"
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

  // The one bar in the status bar, or null.
  TCGauge* Gauge() const {
    const QList<TCGauge*> gauges = status_bar_->findChildren<TCGauge*>();
    EXPECT_LE(gauges.size(), 1);
    return gauges.isEmpty() ? nullptr : gauges.first();
  }

  std::unique_ptr<TWMain> window_;
  QStatusBar* status_bar_ = nullptr;
};

// Begin (1000, 50) and twenty default steps: the sender's pattern for
// K·M = 1000, which fills the bar.
TEST_F(ProgressTest, TwentyDefaultStepsFillTheBarOverTheStatusBar) {
  EXPECT_EQ(Send(platform::WM_PROGRESSBEGIN, 1000, 50), 0);
  TCGauge* gauge = Gauge();
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->geometry(), QRect(5, 3, status_bar_->width() - 10, status_bar_->height() - 4));
  EXPECT_EQ(gauge->palette().color(QPalette::Highlight), QColor(0, 0, 128));
  EXPECT_EQ(gauge->minimum(), 0);
  EXPECT_EQ(gauge->maximum(), 1000);
  EXPECT_EQ(gauge->value(), 0);
  for (int step = 1; step <= 20; ++step) {
    Send(platform::WM_PROGRESSSTEP, 0, 0);
    EXPECT_EQ(gauge->value(), 50 * step);
  }
  EXPECT_EQ(gauge->text(), "100%");
  window_->resize(window_->width() + 100, window_->height());
  EXPECT_EQ(gauge->width(), status_bar_->width() - 10);
  Send(platform::WM_PROGRESSEND, 0, 0);
  EXPECT_EQ(Gauge(), nullptr);
}

TEST_F(ProgressTest, MessagesSentToTheWindowClassFromARunThreadDriveTheBar) {
  std::intptr_t begin_answer = -1;
  // On a thread of its own, as a run's worker, while this (the GUI) thread
  // handles the messages.
  std::atomic<bool> done{false};
  std::thread worker([&] {
    const platform::WindowHandle window = platform::FindWindowByClass("TWMain");
    begin_answer = platform::SendWindowMessage(window, platform::WM_PROGRESSBEGIN, 1000, 50);
    for (int step = 0; step < 10; ++step)
      platform::SendWindowMessage(window, platform::WM_PROGRESSSTEP, 0, 0);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(begin_answer, 0);
  ASSERT_NE(Gauge(), nullptr);
  EXPECT_EQ(Gauge()->value(), 500);
}

TEST_F(ProgressTest, AGivenIncrementCountsAndTheBarStopsAtItsMaximum) {
  Send(platform::WM_PROGRESSBEGIN, 45, 2);
  ASSERT_NE(Gauge(), nullptr);
  Send(platform::WM_PROGRESSSTEP, 0, 7);
  EXPECT_EQ(Gauge()->value(), 7);
  for (int step = 0; step < 30; ++step) Send(platform::WM_PROGRESSSTEP, 0, 0);
  EXPECT_EQ(Gauge()->value(), 45);
}

TEST_F(ProgressTest, StepsWithoutABarAreIgnoredAndANewBeginReplacesALeftoverBar) {
  EXPECT_EQ(Send(platform::WM_PROGRESSSTEP, 0, 0), 0);
  EXPECT_EQ(Send(platform::WM_PROGRESSEND, 0, 0), 0);
  EXPECT_EQ(Gauge(), nullptr);
  // A run that ended without its end message left its bar.
  Send(platform::WM_PROGRESSBEGIN, 1000, 50);
  Send(platform::WM_PROGRESSSTEP, 0, 0);
  Send(platform::WM_PROGRESSBEGIN, 200, 10);
  ASSERT_NE(Gauge(), nullptr);
  EXPECT_EQ(Gauge()->maximum(), 200);
  EXPECT_EQ(Gauge()->value(), 0);
  Send(platform::WM_PROGRESSSTEP, 0, 0);
  EXPECT_EQ(Gauge()->value(), 10);
  EXPECT_EQ(Send(0x403, 0, 1), 0);  // other messages leave the bar alone
  EXPECT_EQ(Gauge()->value(), 10);
  EXPECT_TRUE(prompt_.errors.isEmpty());
}

}  // namespace
