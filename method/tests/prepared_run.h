// A run made ready step by step in this process, as the library's entry makes
// it: the source seeded at a fixed millisecond, "Parameters.dat" of the current
// folder read, the run's objects built and its progress reporter made. And
// the run in turn, one repetition after another on the calling thread,
// observation by observation through the generators' interface: what the
// library's runs on every core reproduce, and the tests' reference.
#pragma once

#include <cstdint>
#include <vector>

#include "method/run_state.h"

namespace brennic_test {

void PrepareRunAt(RunState& run, int millisecond);

// Draws the M samples of repetition k into `values` and adds their estimates
// to the run's sums, sending each progress step as its sample is drawn.
void RunSamples(RunState& run, std::int32_t k, std::vector<double>& values);

// Every repetition drawn, fitted and, when the block asks, saved in turn.
void RunInTurn(RunState& run);

}  // namespace brennic_test
