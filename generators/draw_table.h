// Functions of one uniform draw looked up instead of computed. A draw of the
// source takes only 32768 values, so a table of that many entries holds
// everything a law makes of one draw: each entry is computed the first time
// its draw comes up and is then exactly the double that the computation
// gives, so the values stay what they were. A generator object holds nothing
// but its law's parameters (callers allocate it by the size its interface
// gives), so the tables belong to the library that draws: one for each
// function of the draw alone, and for the exponential-power law, whose values
// depend on all its parameters, one for each set of parameters. Threads share
// them: entries are read and written atomically, and two threads that compute
// one entry at once write the same bits.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>

#include "generators/uniform_source.h"

namespace olvend {

template <std::size_t Width>
class DrawTable {
 public:
  using Entry = std::array<double, Width>;

  DrawTable() : entries_(new Entry[kDrawCount]) {
    for (int draw = 0; draw < kDrawCount; ++draw)
      entries_[draw].fill(std::numeric_limits<double>::quiet_NaN());
  }
  DrawTable(const DrawTable&) = delete;
  DrawTable& operator=(const DrawTable&) = delete;

  // The entry of `draw` (0 to 32767); compute(draw) makes it the first time.
  template <class Compute>
  Entry At(int draw, Compute&& compute) {
    Entry& slot = entries_[draw];
    Entry entry;
    // NaN marks an entry not yet computed. An entry whose computed first value
    // is NaN itself is computed again each time, with the same result. The
    // first value is written last, so whoever sees it sees the others.
    entry[0] = std::atomic_ref<double>(slot[0]).load(std::memory_order_acquire);
    if (std::isnan(entry[0])) {
      entry = compute(draw);
      for (std::size_t i = 1; i < Width; ++i)
        std::atomic_ref<double>(slot[i]).store(entry[i], std::memory_order_relaxed);
      std::atomic_ref<double>(slot[0]).store(entry[0], std::memory_order_release);
      return entry;
    }
    for (std::size_t i = 1; i < Width; ++i)
      entry[i] = std::atomic_ref<double>(slot[i]).load(std::memory_order_relaxed);
    return entry;
  }

 private:
  std::unique_ptr<Entry[]> entries_;
};

// The library's one table of the function named by `Tag`, made the first time
// it is asked for, so that a law nobody draws from costs nothing.
template <class Tag, std::size_t Width>
DrawTable<Width>& LibraryTable() {
  static DrawTable<Width> table;
  return table;
}

// The table of the exponential-power law with location a, scale b and shape
// c, told apart by their bits. Tables are made as sets of parameters come up
// and kept while the library is loaded, so a table once found stays valid;
// past kExpPowerTables sets there is none (nullptr) and each value is
// computed afresh.
inline constexpr int kExpPowerTables = 16;

inline DrawTable<1>* ExpPowerTable(double a, double b, double c) {
  struct Slot {
    std::array<std::uint64_t, 3> parameters{};
    std::unique_ptr<DrawTable<1>> table;
  };
  // Slots below `used` are complete and never change again, so finding one
  // needs no lock; only adding one does.
  static std::array<Slot, kExpPowerTables> slots;
  static std::atomic<int> used{0};
  static std::mutex adding;
  const std::array<std::uint64_t, 3> parameters = {
      std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b), std::bit_cast<std::uint64_t>(c)};
  auto find = [&parameters](int count) -> DrawTable<1>* {
    for (int i = 0; i < count; ++i) {
      if (slots[i].parameters == parameters) return slots[i].table.get();
    }
    return nullptr;
  };
  if (DrawTable<1>* table = find(used.load(std::memory_order_acquire))) return table;
  const std::lock_guard lock(adding);
  const int count = used.load(std::memory_order_relaxed);
  if (DrawTable<1>* table = find(count)) return table;
  if (count == kExpPowerTables) return nullptr;
  slots[count].parameters = parameters;
  slots[count].table = std::make_unique<DrawTable<1>>();
  used.store(count + 1, std::memory_order_release);
  return slots[count].table.get();
}

}  // namespace olvend
