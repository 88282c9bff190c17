// The chi-square table files ("Table 28.txt" and "Table 29.txt") as the table
// grouping reads them. The input's first byte picks the interval count,
// k = 3 + byte % 13 ('A' gives 3, 'C' 5); the bytes after it up to the first
// zero byte are the boundaries' table, the rest the probabilities'. The
// reader refuses the pair with EReadError or gives line k's k - 1 boundaries
// and k probabilities, all finite. The criteria then refuse the same pair
// the same way, leaving their record as it was, or give statistics that are
// numbers and probabilities between 0 and 1.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "criteria/chi_tables.h"
#include "criteria/quessel.h"
#include "criteria/tests/crit_fields.h"
#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"

namespace {

void WriteTable(const char* name, std::string_view text) {
  fuzz::WriteScratchFile(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

bool IsProbability(double p) { return p >= 0.0 && p <= 1.0; }

template <class Numbers>
bool AllFinite(const Numbers& numbers) {
  return std::all_of(numbers.begin(), numbers.end(), [](auto x) { return std::isfinite(x); });
}

// Whether the reader takes the pair; aborts when what it gives breaks its promise.
bool ReaderAccepts(const std::string& folder, int k) {
  try {
    const quessel::internal::ChiTable table = quessel::internal::ReadChiTable(folder.c_str(), k);
    if (table.boundaries.size() != static_cast<std::size_t>(k - 1) ||
        table.probabilities.size() != static_cast<std::size_t>(k) || !AllFinite(table.boundaries) ||
        !AllFinite(table.probabilities)) {
      std::abort();
    }
  } catch (const EReadError&) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int k = 3 + data[0] % 13;
  const std::string_view tables(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = std::min(tables.find('\0'), tables.size());
  WriteTable("Table 28.txt", tables.substr(0, split));
  WriteTable("Table 29.txt", tables.substr(std::min(split + 1, tables.size())));
  const std::string folder = fuzz::ScratchFolder().string() + "/";
  const bool accepted = ReaderAccepts(folder, k);

  // Ties, and values on and beyond any boundary a table is likely to hold.
  double sample[] = {-1e6, -2.5, -1.0, -1.0, 0.0, 0.25, 0.5, 0.5, 1.0, 3.0, 1e6};
  DistribFunc normal{dfNormal, 0.0, 0.0};
  CritVA crit = FreshCrit();
  try {
    ChiRTrueStats(sample, static_cast<int>(std::size(sample)), &normal, 2, k, crit, folder.c_str());
  } catch (const EReadError&) {
    if (accepted || UntouchedFields(crit) != 12) std::abort();
    return 0;
  }
  if (!accepted || std::isnan(crit.ChiStat) || crit.ChiStat < 0.0 || std::isnan(crit.LRStat) ||
      !IsProbability(crit.ChiP) || !IsProbability(crit.LRP)) {
    std::abort();
  }
  return 0;
}
