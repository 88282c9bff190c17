// The interval boundaries and probabilities of the table grouping, read from
// "Table 28.txt" and "Table 29.txt". Internal to Quessel.
#pragma once

#include <vector>

namespace quessel::internal {

struct ChiTable {
  std::vector<float> boundaries;      // k - 1, ascending
  std::vector<double> probabilities;  // k
};

// Reads line k of both tables in folder (a text ending with its separator,
// joined directly with the file names). Throws EFOpenError when a file cannot
// be opened or its path is longer than 255 characters, EReadError when line k
// is missing, a line before it is longer than 254 characters, line k is longer
// than 4095 characters, or line k does not hold the numbers it should; no file
// is read further than its line k or its first line too long.
ChiTable ReadChiTable(const char* folder, int k);

}  // namespace quessel::internal
