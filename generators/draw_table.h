// Functions of one uniform draw looked up instead of computed. A draw of the
// thread's source takes only 32768 values, so a table of that many entries
// holds everything a generator can make of one draw: each entry is computed
// the first time its draw comes up and is then exactly the double that the
// computation gives, so a generator's values stay what they were. Copies of
// a generator share its tables, since the entries depend only on the
// parameters, which a copy has too: copies drawing on several threads fill
// one table between them. Entries are read and written atomically; two
// threads that compute one entry at once write the same bits.
#pragma once

#include <array>
#include <atomic>
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

  // The entry of `draw` (0 to 32767); compute(draw) makes it the first time.
  // The storage comes with the first entry, so a generator that never draws
  // costs next to nothing.
  template <class Compute>
  Entry At(int draw, Compute&& compute) {
    if (entries_ == nullptr) entries_ = storage_->Entries();
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
  class Storage {
   public:
    Entry* Entries() {
      std::call_once(allocated_, [this] {
        entries_.reset(new Entry[kDrawCount]);
        for (int draw = 0; draw < kDrawCount; ++draw)
          entries_[draw].fill(std::numeric_limits<double>::quiet_NaN());
      });
      return entries_.get();
    }

   private:
    std::once_flag allocated_;
    std::unique_ptr<Entry[]> entries_;
  };

  std::shared_ptr<Storage> storage_ = std::make_shared<Storage>();
  Entry* entries_ = nullptr;  // the storage's entries, once this copy has asked for them
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
