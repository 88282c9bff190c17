#include "method/repetitions.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "method/run_driver.h"
#include "method/statistics_file.h"

namespace {

// Fits and saves the repetitions handed to it, one at a time, in order.
class FittingThread {
 public:
  explicit FittingThread(RunState& run) : run_(run), thread_([this] { Work(); }) {
    run_.Progress->HoldWhile(&busy_);
  }

  // Waits for the repetition in hand, if any, then ends the thread.
  ~FittingThread() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    run_.Progress->HoldWhile(nullptr);
  }

  FittingThread(const FittingThread&) = delete;
  FittingThread& operator=(const FittingThread&) = delete;

  // Hands repetition k over once the one before is done, sending the steps
  // held back meanwhile; rethrows the failure of the one before.
  void Fit(std::int32_t k, std::vector<double> values) {
    Wait();
    run_.Progress->SendHeld();
    {
      const std::lock_guard lock(mutex_);
      job_ = k;
      values_ = std::move(values);
      busy_.store(true, std::memory_order_release);
    }
    changed_.notify_all();
  }

  // Waits for the repetition handed over last; rethrows its failure.
  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !job_ || failure_; });
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return job_ || stopping_; });
      if (!job_) return;
      const std::int32_t k = *job_;
      lock.unlock();
      std::exception_ptr failure;
      try {
        FitCriteria(run_, k, values_);
        if (run_.SaveValues != 0) SaveStatistics(run_, k, values_);
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      values_ = {};
      job_.reset();
      failure_ = failure;
      // A failed repetition keeps the next one's steps held for good.
      if (!failure_) busy_.store(false, std::memory_order_release);
      changed_.notify_all();
    }
  }

  RunState& run_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::int32_t> job_;  // the repetition in hand
  std::vector<double> values_;
  std::exception_ptr failure_;
  bool stopping_ = false;
  std::atomic<bool> busy_{false};
  std::thread thread_;
};

}  // namespace

void RunRepetitions(RunState& run) {
  FittingThread fitting(run);
  try {
    for (std::int32_t k = 0; k < run.K; ++k) {
      RunSamples(run, k);
      fitting.Fit(k, std::exchange(run.Values, {}));
    }
    fitting.Wait();
  } catch (...) {
    // A repetition still being fitted came first: its failure is the run's.
    fitting.Wait();
    throw;
  }
}
