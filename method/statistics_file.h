// One text file per repetition with the repetition's statistic values in
// ascending order, for study outside the system.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "method/run_state.h"

// The statistic's name for a test kind: "stX2" ... "stF".
std::string StatisticName(int test_kind);

// The name, "0 M", then one value a line: six significant digits in a field
// of ten, with "." as the point whatever the stream's locale was.
void WriteStatisticValues(std::ostream& out, const std::string& name, const std::vector<double>& values);

// Writes the file of repetition k (0-based) from its values. The file takes
// its name only once it is complete; throws EFCreateError naming the file
// when it cannot be created or written, and an existing file of that name
// then stays as it was.
void SaveStatistics(const RunState& run, std::int32_t k, const std::vector<double>& values);
