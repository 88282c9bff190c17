// The run's report "index.html" through the report writer: the hypothesis,
// the criteria averaged over the repetitions and, on request, the estimated
// mean, covariance and correlation.
#pragma once

#include "method/run_state.h"

// Divides the criteria sums by K in place, so they hold the means afterwards.
void WriteReport(RunState& run);
