// Seeding of the calling thread's uniform source from the clock, once at the
// start of a run on the thread that will draw its values.
#pragma once

#include "platform/export.h"

// Seeds with the millisecond (0-999) of the current UTC time: a run's values
// follow from that one number.
WB_EXPORT void InitClockTimer();
