#include "platform/system_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace {

TEST(SystemTime, TheMillisecondLiesInItsRangeAndAFixedOneHoldsUntilReleased) {
  for (int i = 0; i < 100; ++i) {
    const int ms = platform::UtcMillisecond();
    ASSERT_TRUE(ms >= 0 && ms <= 999) << ms;
  }
  platform::FixUtcMillisecond(417);
  EXPECT_EQ(platform::UtcMillisecond(), 417);
  EXPECT_EQ(platform::UtcMillisecond(), 417);
  platform::FixUtcMillisecond(-1);
  const int ms = platform::UtcMillisecond();
  EXPECT_TRUE(ms >= 0 && ms <= 999) << ms;
}

// Days between 1899-12-30 and the local date by the standard library's
// proleptic Gregorian calendar, plus the local time of day.
TEST(SystemTime, DateTimeCountsDaysFromTheEndOf1899InLocalTime) {
  using namespace std::chrono;
  const double now = platform::NowDateTime();
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const auto date = year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
  const auto days = (sys_days{date} - sys_days{year{1899} / December / 30}).count();
  EXPECT_NEAR(now, days + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0, 2.0 / 86400.0);
}

}  // namespace
