// Functions of one uniform draw looked up instead of computed. A draw of the
// thread's source takes only 32768 values, so a table of that many entries
// holds everything a generator can make of one draw: each entry is computed
// the first time its draw comes up and is then exactly the double that the
// computation gives, so a generator's values stay what they were.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

#include "generators/uniform_source.h"

namespace olvend {

template <std::size_t Width>
class DrawTable {
 public:
  using Entry = std::array<double, Width>;

  DrawTable() = default;
  // A copy starts empty: the entries are a cache of its owner's parameters.
  DrawTable(const DrawTable&) {}
  DrawTable& operator=(const DrawTable&) {
    entries_.reset();
    return *this;
  }

  // The entry of `draw` (0 to 32767); compute(draw) makes it the first time.
  // The storage comes with the first entry, so a generator that never draws
  // costs nothing.
  template <class Compute>
  const Entry& At(int draw, Compute&& compute) {
    if (!entries_) Allocate();
    Entry& entry = entries_[draw];
    // NaN marks an entry not yet computed. An entry whose computed first value
    // is NaN itself is computed again each time, with the same result.
    if (std::isnan(entry[0])) entry = compute(draw);
    return entry;
  }

 private:
  void Allocate() {
    entries_.reset(new Entry[kDrawCount]);
    for (int draw = 0; draw < kDrawCount; ++draw)
      entries_[draw].fill(std::numeric_limits<double>::quiet_NaN());
  }

  std::unique_ptr<Entry[]> entries_;
};

// `count` values of a law that makes each value of one uniform value, drawn as
// the generators draw them: a fresh uniform generator per value, whose own
// first draw is dropped and whose next draw gives the uniform value. The
// table keeps law(u) by draw.
template <class Law>
void DrawLawValues(DrawTable<1>& table, double* values, std::int32_t count, Law&& law) {
  HeldSource source;
  for (std::int32_t i = 0; i < count; ++i) {
    source.Draw();
    values[i] = table.At(source.Draw(), [&law](int draw) { return std::array{law(UniformOfDraw(draw))}; })[0];
  }
}

}  // namespace olvend
