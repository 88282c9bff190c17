#include "platform/system_time.h"

#include <atomic>
#include <ctime>

namespace platform {
namespace {

std::atomic<int> fixed_millisecond{-1};

// Days from 30 December 1899 to 1 January 1970.
constexpr double kUnixEpochDays = 25569.0;

}  // namespace

int UtcMillisecond() {
  const int fixed = fixed_millisecond.load();
  if (fixed >= 0) return fixed;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int>(now.tv_nsec / 1000000);
}

void FixUtcMillisecond(int millisecond) {
  fixed_millisecond.store(millisecond < 0 ? -1 : millisecond % 1000);
}

double NowDateTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  // Local seconds since the epoch: shift UTC by the zone's offset at that moment.
  const double local_seconds = static_cast<double>(now.tv_sec) + static_cast<double>(local.tm_gmtoff) +
                               static_cast<double>(now.tv_nsec / 1000000) / 1000.0;
  return kUnixEpochDays + local_seconds / 86400.0;
}

}  // namespace platform
