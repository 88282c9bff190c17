// The golden runs: one small run per test kind and per generator kind at a
// fixed seed, whose results are pinned in golden/. The pinned texts were
// written by this library; run the tests with WB_UPDATE_GOLDEN=1 to write
// them anew, and only after a deliberate change of the results.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "method/run_parameters.h"

namespace brennic_test {

// The millisecond that seeds every golden run.
constexpr int kGoldenMillisecond = 417;

struct GoldenRun {
  std::string name;
  RunParameters block;  // with statistics files and, unless its name says otherwise, both estimates
};

std::vector<GoldenRun> GoldenRuns();

// Names the run in test output.
void PrintTo(const GoldenRun& run, std::ostream* out);

// Compares `text` with golden/<file_name>, or writes it there when
// WB_UPDATE_GOLDEN is set (the test is then skipped).
void ExpectGolden(const std::string& file_name, const std::string& text);

}  // namespace brennic_test
