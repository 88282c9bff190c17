// A run made ready step by step in this process, as the library's entry makes
// it: the source seeded at a fixed millisecond, "Parameters.dat" of the current
// folder read, the run's objects built and its progress reporter made.
#pragma once

#include "method/run_state.h"

namespace brennic_test {

void PrepareRunAt(RunState& run, int millisecond);

}  // namespace brennic_test
