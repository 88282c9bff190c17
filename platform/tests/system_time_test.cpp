#include "platform/system_time.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(SystemTime, MillisecondLiesInItsRange) {
  for (int i = 0; i < 100; ++i) {
    const int ms = platform::UtcMillisecond();
    ASSERT_GE(ms, 0);
    ASSERT_LE(ms, 999);
  }
}

TEST(SystemTime, FixedMillisecondHoldsUntilReleased) {
  platform::FixUtcMillisecond(417);
  EXPECT_EQ(platform::UtcMillisecond(), 417);
  EXPECT_EQ(platform::UtcMillisecond(), 417);
  platform::FixUtcMillisecond(-1);
  const int ms = platform::UtcMillisecond();
  EXPECT_GE(ms, 0);
  EXPECT_LE(ms, 999);
}

TEST(SystemTime, DateTimeCountsDaysFromTheEndOf1899InLocalTime) {
  const double now = platform::NowDateTime();
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  // Days between 1899-12-30 and the local date, by the proleptic Gregorian count.
  auto days_from_civil = [](int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int>(doe);
  };
  const int expected_day = days_from_civil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) -
                           days_from_civil(1899, 12, 30);
  EXPECT_NEAR(now, expected_day + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0,
              2.0 / 86400.0);
}

}  // namespace
