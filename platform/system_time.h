// The system clock as the libraries see it, with one seam for tests: the
// millisecond that seeds the random source can be fixed, so that a run is
// reproducible.
#pragma once

#include "platform/export.h"

namespace platform {

// The millisecond field (0-999) of the current UTC time, or the fixed value.
WB_EXPORT int UtcMillisecond();

// Fixes the value UtcMillisecond returns (0-999); a negative value releases it.
WB_EXPORT void FixUtcMillisecond(int millisecond);

// The current local time as days since 30 December 1899, the time of day
// being the fraction.
WB_EXPORT double NowDateTime();

}  // namespace platform
