#include "method/repetitions.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "method/run_driver.h"
#include "method/statistics_file.h"

namespace {

// One core stays with the drawing; a run never needs more threads than it
// has repetitions.
std::int32_t FittingThreads(std::int32_t repetitions) {
  const auto cores = static_cast<std::int32_t>(std::thread::hardware_concurrency());
  return std::clamp(cores - 1, 1, std::max(repetitions, 1));
}

// Fits the repetitions handed to it on several threads at once, each on its
// own values, but settles them (adds their criteria to the run's sums and
// saves their values) one at a time in repetition order, so that the sums and
// the files are those of a run in turn and a failure stops the settling where
// a run in turn would have stopped.
class FittingPool {
 public:
  FittingPool(RunState& run, std::int32_t threads)
      : run_(run), slots_(static_cast<std::size_t>(threads) + 1) {
    threads_.reserve(static_cast<std::size_t>(threads));
    run_.Progress->HoldUntilSettled(&settled_);
    try {
      for (std::int32_t t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      // Fewer threads fit as well, only slower; with none the caller fits.
    }
  }

  // Lets the threads end, dropping the repetitions not begun: the run has
  // settled them all or has failed.
  ~FittingPool() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    run_.Progress->HoldUntilSettled(nullptr);
  }

  FittingPool(const FittingPool&) = delete;
  FittingPool& operator=(const FittingPool&) = delete;

  // Hands over the next repetition's values (repetitions are counted from 0
  // call by call), waiting while every slot is in flight. Throws the run's
  // failure once one is known: nothing more need be drawn.
  void Hand(std::vector<double> values) {
    std::unique_lock lock(mutex_);
    settled_changed_.wait(lock, [this] { return failure_ || InFlight() < slots_.size(); });
    if (failure_) std::rethrow_exception(failure_);
    SlotOf(handed_++).values = std::move(values);
    if (threads_.empty()) {
      FitNext(lock);
      return;
    }
    work_.notify_one();
  }

  // Waits until every repetition handed over is settled or one has failed;
  // gives the first failure in repetition order, or null.
  std::exception_ptr Settle() {
    std::unique_lock lock(mutex_);
    settled_changed_.wait(lock, [this] { return failure_ || InFlight() == 0; });
    return failure_;
  }

 private:
  struct Slot {
    std::vector<double> values;
    CritVA criteria{};
    std::exception_ptr failure;
    bool fitted = false;
  };

  std::size_t InFlight() const {
    return static_cast<std::size_t>(handed_ - settled_.load(std::memory_order_relaxed));
  }
  Slot& SlotOf(std::int32_t k) { return slots_[static_cast<std::size_t>(k) % slots_.size()]; }

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      work_.wait(lock, [this] { return stopping_ || (next_to_fit_ < handed_ && !failure_); });
      if (stopping_) return;
      FitNext(lock);
    }
  }

  // Fits the next repetition not begun with the lock let go, then settles
  // whatever is ready unless another thread is settling already.
  void FitNext(std::unique_lock<std::mutex>& lock) {
    Slot& slot = SlotOf(next_to_fit_++);
    lock.unlock();
    try {
      slot.criteria = FitValues(run_, slot.values);
    } catch (...) {
      slot.failure = std::current_exception();
    }
    lock.lock();
    slot.fitted = true;
    if (!settling_) SettleFitted(lock);
  }

  // Settles the fitted repetitions next in order, writing the files with the
  // lock let go; stops at the first failure for good.
  void SettleFitted(std::unique_lock<std::mutex>& lock) {
    settling_ = true;
    for (;;) {
      const std::int32_t k = settled_.load(std::memory_order_relaxed);
      if (failure_ || k == handed_ || !SlotOf(k).fitted) break;
      Slot& slot = SlotOf(k);
      lock.unlock();
      std::exception_ptr failure = slot.failure;
      if (!failure) {
        try {
          AddCriteria(run_, k, slot.criteria);
          if (run_.SaveValues != 0) SaveStatistics(run_, k, slot.values);
        } catch (...) {
          failure = std::current_exception();
        }
      }
      lock.lock();
      if (failure) {
        failure_ = failure;
      } else {
        slot = Slot{};
        settled_.store(k + 1, std::memory_order_release);
      }
      // Only the drawing thread waits for settling.
      settled_changed_.notify_one();
    }
    settling_ = false;
  }

  RunState& run_;
  std::mutex mutex_;
  std::condition_variable work_;             // a repetition to fit, or the end
  std::condition_variable settled_changed_;  // a repetition settled, or a failure
  std::vector<Slot> slots_;                  // repetition k in slot k % size while in flight
  std::int32_t handed_ = 0;
  std::int32_t next_to_fit_ = 0;
  std::atomic<std::int32_t> settled_{0};  // also read, unlocked, by the progress reporter
  bool settling_ = false;
  std::exception_ptr failure_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

void RunRepetitions(RunState& run) { RunRepetitions(run, FittingThreads(run.K)); }

void RunRepetitions(RunState& run, std::int32_t fitting_threads) {
  FittingPool pool(run, fitting_threads);
  std::exception_ptr drawing_failure;
  try {
    for (std::int32_t k = 0; k < run.K; ++k) {
      run.Progress->DrawRepetition(k);
      RunSamples(run, k);
      pool.Hand(std::exchange(run.Values, {}));
    }
  } catch (...) {
    drawing_failure = std::current_exception();
  }
  // A repetition handed over before the drawing failed comes first: its
  // failure is the run's.
  const std::exception_ptr failure = pool.Settle();
  run.Progress->SendHeld();
  if (failure) std::rethrow_exception(failure);
  if (drawing_failure) std::rethrow_exception(drawing_failure);
}
