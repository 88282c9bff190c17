#include "method/repetitions.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "method/run_driver.h"
#include "method/run_memory.h"
#include "method/sampler.h"
#include "method/statistics_file.h"
#include "platform/process_resources.h"

namespace {

// What the threads beyond the first may hold of samples together when one
// thread's sample is less: below it, samples are too small for their number
// to matter.
constexpr std::uint64_t kSpareForSamples = std::uint64_t{64} << 20;

// The values held at once are never bound below a megabyte, so that the
// threads of a run of small repetitions are not tied to each other's pace
// for the sake of a few kilobytes.
constexpr std::uint64_t kLeastValuesBudget = std::uint64_t{1} << 20;

// About four blocks a thread in every repetition, so that the threads share
// the drawing of each repetition evenly. With estimates, the blocks of twice
// as many threads hold at most one repetition's worth of them. Counted in 64
// bits: M + 4 * threads would not fit 32 near the largest M.
std::int64_t BlockSamples(const RunState& run, std::int32_t threads) {
  constexpr std::int64_t kBlocksPerThread = 4;
  const std::int64_t m = run.M;
  std::int64_t samples = (m + kBlocksPerThread * threads - 1) / (kBlocksPerThread * threads);
  const std::int64_t estimates = EstimatesSize(run);
  if (estimates > 0) samples = std::min(samples, m / (2 * threads * estimates));
  return std::max<std::int64_t>(samples, 1);
}

// The run's repetitions drawn, fitted and settled by the calling thread and
// its helpers, each of which takes whatever work is there: fitting a drawn
// repetition first (it frees the most), then drawing the next block of
// samples while the values held stay within the budget. Blocks are handed out
// in the order of the run and settled in that order (their estimates added to
// the run's sums); repetitions are settled in their order (criteria added,
// values saved), so that every sum is that of a run in turn.
class RepetitionPool {
 public:
  RepetitionPool(RunState& run, const RepetitionPlan& plan)
      : run_(run),
        threads_(plan.threads),
        block_samples_(plan.block_samples),
        blocks_per_repetition_(plan.blocks_per_repetition),
        estimates_size_(EstimatesSize(run)),
        step_(plan.progress_step),
        values_budget_(plan.values_budget),
        first_state_(ThreadSourceState()),
        block_limit_(run.K * blocks_per_repetition_),
        repetition_limit_(run.K) {}

  RepetitionPool(const RepetitionPool&) = delete;
  RepetitionPool& operator=(const RepetitionPool&) = delete;

  // Works with the helpers until every repetition is settled or the run has
  // failed, then gives the first failure in the order of the run, if any.
  std::exception_ptr Run() {
    Sampler sampler(run_, first_state_);
    std::vector<std::thread> helpers;
    try {
      for (std::int32_t t = 1; t < threads_; ++t) helpers.emplace_back([this] { Help(); });
    } catch (const std::system_error&) {
      // Fewer threads do the same work, only slower.
    }
    Work(&sampler);
    for (std::thread& helper : helpers) helper.join();
    return settling_failure_ ? settling_failure_ : drawing_failure_;
  }

  std::size_t PeakBytes() const { return peak_bytes_; }

 private:
  struct Repetition {
    std::vector<double> values;
    std::int64_t blocks_to_draw = 0;
    bool fitting = false;
    bool fitted = false;
    CritVA criteria{};
    std::exception_ptr failure;  // of its fitting
  };

  struct Block {
    std::vector<double> estimates;  // of its samples, EstimatesSize each
    std::size_t bytes = 0;          // what it holds in the budget
    std::int32_t drawn = 0;         // samples done
    bool done = false;
    std::exception_ptr failure;
  };

  // A helper that cannot make its own sampler still fits.
  void Help() {
    std::unique_ptr<Sampler> sampler;
    try {
      sampler = std::make_unique<Sampler>(run_, first_state_);
    } catch (...) {
    }
    Work(sampler.get());
  }

  void Work(Sampler* sampler) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (const std::optional<std::int32_t> k = Fittable()) {
        Fit(*k, lock);
      } else if (sampler != nullptr && MayDraw()) {
        Draw(*sampler, lock);
      } else if (busy_ == 0 && !MayDraw()) {
        // Nothing is left that any thread could do.
        changed_.notify_all();
        return;
      } else {
        changed_.wait(lock);
      }
    }
  }

  // A drawn repetition, the first in order, when its fitting (which sorts
  // its values with a buffer as large) fits the budget, or nothing under way
  // could free values.
  std::optional<std::int32_t> Fittable() const {
    if (bytes_ + RepetitionBytes(run_.M) > values_budget_ && busy_ != 0) return std::nullopt;
    for (std::size_t i = 0; i < repetitions_.size(); ++i) {
      const std::int32_t k = first_repetition_ + static_cast<std::int32_t>(i);
      const Repetition& repetition = repetitions_[i];
      if (k < repetition_limit_ && repetition.blocks_to_draw == 0 && !repetition.fitting) return k;
    }
    return std::nullopt;
  }

  // The next block fits the budget, or nothing that could free values is
  // under way (and nothing can be fitted), so that the run goes on. A block
  // that begins a repetition leaves room for one repetition's fitting.
  bool MayDraw() const {
    if (next_block_ >= block_limit_) return false;
    const std::size_t repetition =
        next_block_ % blocks_per_repetition_ == 0 ? 2 * RepetitionBytes(run_.M) : 0;
    return bytes_ + repetition + EstimatesBytes(next_block_) <= values_budget_ || busy_ == 0;
  }

  std::size_t EstimatesBytes(std::int64_t block) const {
    return static_cast<std::size_t>(SamplesOf(block)) * static_cast<std::size_t>(estimates_size_) *
           sizeof(double);
  }

  // The first sample of a block within its repetition, below M.
  std::int64_t FirstOf(std::int64_t block) const { return block % blocks_per_repetition_ * block_samples_; }

  std::int32_t SamplesOf(std::int64_t block) const {
    return static_cast<std::int32_t>(std::min(block_samples_, run_.M - FirstOf(block)));
  }

  void Hold(std::size_t bytes) {
    bytes_ += bytes;
    peak_bytes_ = std::max(peak_bytes_, bytes_);
  }

  void Draw(Sampler& sampler, std::unique_lock<std::mutex>& lock) {
    const std::int64_t index = next_block_++;
    const auto k = static_cast<std::int32_t>(index / blocks_per_repetition_);
    const std::int64_t first = FirstOf(index);
    Block& block = blocks_.emplace_back();
    block.bytes = EstimatesBytes(index);
    Hold(block.bytes);
    ++busy_;
    try {
      if (first == 0) {
        Repetition& repetition = repetitions_.emplace_back();
        repetition.values.resize(static_cast<std::size_t>(run_.M));
        Hold(RepetitionBytes(run_.M));
        repetition.blocks_to_draw = blocks_per_repetition_;
      }
      Repetition& repetition = repetitions_[static_cast<std::size_t>(k - first_repetition_)];
      const std::int32_t count = SamplesOf(index);
      lock.unlock();
      block.estimates.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(estimates_size_));
      sampler.Draw(static_cast<std::int64_t>(k) * run_.M + first, count, repetition.values.data() + first,
                   block.estimates.data(), block.drawn);
      lock.lock();
      --repetition.blocks_to_draw;
    } catch (...) {
      if (!lock.owns_lock()) lock.lock();
      block.failure = std::current_exception();
      // Nothing after the failed block is needed: the run ends there at the latest.
      block_limit_ = next_block_;
      repetition_limit_ = std::min(repetition_limit_, k);
    }
    block.done = true;
    SettleBlocks(lock);
    Finish(lock);
  }

  void Fit(std::int32_t k, std::unique_lock<std::mutex>& lock) {
    Repetition& repetition = repetitions_[static_cast<std::size_t>(k - first_repetition_)];
    repetition.fitting = true;
    Hold(RepetitionBytes(run_.M));
    ++busy_;
    lock.unlock();
    try {
      repetition.criteria = FitValues(run_, repetition.values);
    } catch (...) {
      repetition.failure = std::current_exception();
    }
    lock.lock();
    bytes_ -= RepetitionBytes(run_.M);
    repetition.fitted = true;
    SettleRepetitions(lock);
    Finish(lock);
  }

  void Finish(std::unique_lock<std::mutex>& lock) {
    --busy_;
    lock.unlock();
    changed_.notify_all();
    lock.lock();
  }

  // Adds the estimates of the drawn blocks next in order, one at a time with
  // the lock let go, unless another thread is doing so; the steps that each
  // block makes due go out before the next is added. Stops for good at a
  // failed block.
  void SettleBlocks(std::unique_lock<std::mutex>& lock) {
    while (!settling_blocks_ && !drawing_failure_ && !blocks_.empty() && blocks_.front().done) {
      settling_blocks_ = true;
      Block& block = blocks_.front();
      lock.unlock();
      if (!block.failure && estimates_size_ > 0) {
        for (std::int32_t i = 0; i < block.drawn; ++i)
          AddEstimates(run_, block.estimates.data() + static_cast<std::ptrdiff_t>(i) * estimates_size_);
      }
      lock.lock();
      samples_settled_ += block.drawn;
      drawing_failure_ = block.failure;
      bytes_ -= block.bytes;
      blocks_.pop_front();
      settling_blocks_ = false;
      SendDueSteps(lock);
    }
  }

  // Adds the criteria of the fitted repetitions next in order and saves their
  // values, one at a time with the lock let go, unless another thread is
  // doing so; the steps that settling each one makes due go out before the
  // next is settled. Stops for good at a failure.
  void SettleRepetitions(std::unique_lock<std::mutex>& lock) {
    while (!settling_repetitions_ && !settling_failure_ && !repetitions_.empty() &&
           repetitions_.front().fitted) {
      settling_repetitions_ = true;
      Repetition& repetition = repetitions_.front();
      lock.unlock();
      std::exception_ptr failure = repetition.failure;
      if (!failure) {
        try {
          AddCriteria(run_, first_repetition_, repetition.criteria);
          if (run_.SaveValues != 0) SaveStatistics(run_, first_repetition_, repetition.values);
        } catch (...) {
          failure = std::current_exception();
        }
      }
      lock.lock();
      if (failure) {
        settling_failure_ = failure;
        block_limit_ = next_block_;
        repetition_limit_ = first_repetition_;
      } else {
        bytes_ -= RepetitionBytes(run_.M);
        repetitions_.pop_front();
        ++first_repetition_;
      }
      settling_repetitions_ = false;
      SendDueSteps(lock);
    }
  }

  // The step of a sample is due once the samples up to it are drawn and
  // every repetition before its own is settled. What settling freed is
  // offered to the other threads first: a window may keep this one a while.
  void SendDueSteps(std::unique_lock<std::mutex>& lock) {
    changed_.notify_all();
    const std::int64_t through =
        std::min(samples_settled_, (static_cast<std::int64_t>(first_repetition_) + 1) * run_.M);
    lock.unlock();
    run_.Progress->SendStepsThrough(through / step_);
    lock.lock();
  }

  RunState& run_;
  const std::int32_t threads_;
  const std::int64_t block_samples_;
  const std::int64_t blocks_per_repetition_;
  const std::int32_t estimates_size_;
  const std::int64_t step_;
  const std::size_t values_budget_;
  const std::uint32_t first_state_;

  std::mutex mutex_;
  std::condition_variable changed_;     // work may be there, or the run is over
  std::deque<Repetition> repetitions_;  // from the first repetition not settled to the last begun
  std::int32_t first_repetition_ = 0;   // repetitions settled
  std::deque<Block> blocks_;            // from the first block not settled to the last begun
  std::int64_t next_block_ = 0;
  std::int64_t block_limit_;          // blocks from here on are not drawn
  std::int32_t repetition_limit_;     // repetitions from here on are not fitted
  std::int64_t samples_settled_ = 0;  // samples drawn and added, from the first
  std::int32_t busy_ = 0;             // threads at work on a block or a repetition
  std::size_t bytes_ = 0;
  std::size_t peak_bytes_ = 0;
  bool settling_blocks_ = false;
  bool settling_repetitions_ = false;
  std::exception_ptr drawing_failure_;
  std::exception_ptr settling_failure_;
};

}  // namespace

RepetitionPlan PlanRepetitions(const RunState& run, std::int32_t processors, std::uint64_t available,
                               std::uint64_t stack_bytes) {
  const std::int32_t p = run.Dimension();
  const std::uint64_t sampler = SamplerBytes(p, run.N);
  const std::uint64_t repetition = RepetitionBytes(run.M);
  // The first thread holds what a run in turn holds; what is left beyond it
  // is spare.
  const std::uint64_t in_turn = sampler + 3 * repetition;
  std::uint64_t spare = available > in_turn ? available - in_turn : 0;
  const std::uint64_t for_samplers = std::min(spare, std::max(sampler, kSpareForSamples));
  const auto further = std::min({static_cast<std::uint64_t>(std::max(processors, 1) - 1),
                                 for_samplers / sampler, spare / (sampler + stack_bytes)});
  spare -= further * (sampler + stack_bytes);

  RepetitionPlan plan;
  plan.threads = static_cast<std::int32_t>(further) + 1;
  const bool draw_ahead = plan.threads > 1 && spare >= 2 * repetition;
  plan.values_budget = std::max((draw_ahead ? 4 : 2) * repetition, kLeastValuesBudget);
  plan.block_samples = BlockSamples(run, plan.threads);
  plan.blocks_per_repetition = (run.M + plan.block_samples - 1) / plan.block_samples;
  plan.progress_step = ProgressStep(static_cast<std::int64_t>(run.K) * run.M);
  return plan;
}

std::size_t RunRepetitions(RunState& run, const RepetitionPlan& plan) {
  RepetitionPool pool(run, plan);
  if (const std::exception_ptr failure = pool.Run()) std::rethrow_exception(failure);
  return pool.PeakBytes();
}

void RunRepetitions(RunState& run) {
  // What the threads take beyond their allocations is planned with their
  // samples, or it would be refused to some of them at random as they draw.
  platform::ShareAllocatorArenasUnderAddressLimit();
  RunRepetitions(run, PlanRepetitions(run, platform::UsableProcessorCount(), platform::AvailableMemory(),
                                      platform::ThreadStackBytes()));
}
