#include "generators/clock_timer.h"

#include <cstdint>

#include "generators/uniform_source.h"
#include "platform/system_time.h"

void InitClockTimer() { olvend::srand(static_cast<std::uint32_t>(platform::UtcMillisecond())); }
