// The repetitions drawn and fitted side by side, by any number of threads,
// leave what drawing, fitting and saving each repetition in turn leaves: the
// criteria and estimate sums to the last bit, the same statistics files, the
// same progress messages, one at a time, none before the files of the
// repetitions before its own, and on failure the same error. The values they
// hold at once stay within their bound whatever the number of threads. The
// plan of a run counts its blocks and steps in 64 bits and gives threads
// beyond the first only the memory of about one sample.
#include "method/repetitions.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <limits>
#include <thread>
#include <utility>

#include "method/run_driver.h"
#include "method/run_memory.h"
#include "method/statistics_file.h"
#include "method/tests/prepared_run.h"
#include "method/tests/run_harness.h"
#include "platform/exceptions.h"
#include "platform/process_resources.h"
#include "platform/progress_messages.h"
#include "platform/window_messages.h"

namespace {

constexpr std::int32_t kRepetitions = 9;

struct RunResult {
  CritVA criteria;
  std::vector<double> mean_sum;
  std::vector<double> covariance_sum;
  std::vector<std::string> files;  // "" for a repetition without its file
  std::vector<std::string> messages;
  std::vector<std::int32_t> files_at_message;  // statistics files present when each message came
  std::string failure;
};

std::int32_t FilesPresent(const brennic_test::RunFolder& folder) {
  std::int32_t present = 0;
  for (std::int32_t k = 1; k <= kRepetitions; ++k) {
    present += std::filesystem::is_regular_file(folder.Path() / ("stat" + std::to_string(k) + ".txt"));
  }
  return present;
}

// Called with each step message as it is handled, on the thread that sends it.
using StepHandler = std::function<void()>;

// A run of the block in the current folder at a fixed seed, its repetitions
// made by `repetitions`, with a main window that checks the messages come one
// at a time.
RunResult RunWith(const brennic_test::RunFolder& folder, const std::function<void(RunState&)>& repetitions,
                  const StepHandler& on_step = {}) {
  RunResult result{};
  std::atomic<bool> handling{false};
  const platform::WindowHandle window = platform::RegisterWindow(
      "TWMain", [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) -> std::intptr_t {
        EXPECT_FALSE(handling.exchange(true));
        result.messages.push_back(std::to_string(message) + " " + std::to_string(wparam) + " " +
                                  std::to_string(lparam));
        result.files_at_message.push_back(FilesPresent(folder));
        if (message == platform::WM_PROGRESSSTEP && on_step) on_step();
        handling = false;
        return 0;
      });
  RunState run;
  brennic_test::PrepareRunAt(run, 321);
  try {
    repetitions(run);
    const std::int32_t p = run.Dimension();
    result.criteria = run.Criteria;
    for (std::int32_t i = 0; i < p; ++i) {
      result.mean_sum.push_back((*run.MeanSum)[i]);
      for (std::int32_t j = 0; j < p; ++j) result.covariance_sum.push_back((*run.CovarianceSum)[i][j]);
    }
  } catch (const Exception& error) {
    result.failure = error.Message();
    run.Progress->Abandon();
  }
  run.Progress.reset();
  FreeRunObjects(run);
  platform::UnregisterWindow(window);
  for (std::int32_t k = 1; k <= kRepetitions; ++k) {
    const std::string name = "stat" + std::to_string(k) + ".txt";
    if (!std::filesystem::is_regular_file(folder.Path() / name)) {
      result.files.emplace_back();
      continue;
    }
    result.files.push_back(folder.ReadFile(name));
    std::filesystem::remove(folder.Path() / name);
  }
  return result;
}

void ExpectSame(const RunResult& got, const RunResult& want) {
  for (const auto field : kCriteriaFields) EXPECT_EQ(got.criteria.*field, want.criteria.*field);
  EXPECT_EQ(got.mean_sum, want.mean_sum);
  EXPECT_EQ(got.covariance_sum, want.covariance_sum);
  EXPECT_EQ(got.files, want.files);
  EXPECT_EQ(got.messages, want.messages);
  // A step of repetition k comes once the k files before it are saved; later
  // ones may be saved already.
  ASSERT_EQ(got.files_at_message.size(), want.files_at_message.size());
  for (std::size_t i = 0; i < got.files_at_message.size(); ++i) {
    EXPECT_GE(got.files_at_message[i], want.files_at_message[i]) << "message " << i;
  }
  EXPECT_EQ(got.failure, want.failure);
}

// Estimates, files, and K = 9 repetitions of M = 20 samples: more than the
// values bound lets a run hold at once, with about two progress steps a
// repetition. The normal law over 3 x 11 values a sample: blocks of samples
// begin inside a pair of the generator's values.
void WriteBlock(const brennic_test::RunFolder& folder) {
  RunParameters block =
      brennic_test::WithStatisticsFiles(brennic_test::SmallRun(kTestKindPairT, kGeneratorNormal), "stat.txt");
  block.N = 11;
  block.EstimateMean = 1;
  block.EstimateCovariance = 1;
  block.K = kRepetitions;
  folder.WriteParameters(block);
}

const std::int32_t kThreadCounts[] = {0, 1, 3, 8};

constexpr std::uint64_t kPlentyOfMemory = std::numeric_limits<std::uint64_t>::max();

// The run by `helpers` threads besides the calling one, with memory to
// spare; the most bytes of values it held at once.
std::size_t RunOn(RunState& run, std::int32_t helpers) {
  return RunRepetitions(run, PlanRepetitions(run, helpers + 1, kPlentyOfMemory, 0));
}
constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();

// The most bytes of values a run of that plan may hold at once: the plan's
// values budget (a run in turn's peak, two repetitions more when the threads
// draw ahead, sample estimates waiting for their turn included) and at most
// one block's estimates beyond it.
std::size_t ValuesInFlightBound(const RunState& run, const RepetitionPlan& plan) {
  return plan.values_budget + static_cast<std::size_t>(plan.block_samples) *
                                  static_cast<std::size_t>(EstimatesSize(run)) * sizeof(double);
}

TEST(RunRepetitions, LeavesWhatEachRepetitionInTurnLeaves) {
  brennic_test::RunFolder folder;
  WriteBlock(folder);
  const RunResult in_turn = RunWith(folder, brennic_test::RunInTurn);
  ASSERT_TRUE(in_turn.failure.empty());
  ASSERT_EQ(in_turn.messages.size(), 22u);  // begin, 20 steps, end

  SCOPED_TRACE("as many threads as the machine gives");
  ExpectSame(RunWith(folder, [](RunState& run) { RunRepetitions(run); }), in_turn);
  for (const std::int32_t threads : kThreadCounts) {
    SCOPED_TRACE(testing::Message() << threads << " fitting threads");
    ExpectSame(RunWith(folder, [threads](RunState& run) { RunOn(run, threads); }), in_turn);
  }
}

// A folder holds the fourth repetition's file name, so saving it fails while
// later repetitions may already be fitted: the run fails as a run in turn
// fails there, with no later file and no step of a later repetition.
TEST(RunRepetitions, FailsWhereARunInTurnFails) {
  brennic_test::RunFolder folder;
  WriteBlock(folder);
  std::filesystem::create_directories(folder.Path() / "stat4.txt" / "taken");
  const RunResult in_turn = RunWith(folder, brennic_test::RunInTurn);
  ASSERT_EQ(in_turn.failure, "Невозможно создать файл статистик «stat4.txt»");

  for (const std::int32_t threads : kThreadCounts) {
    SCOPED_TRACE(testing::Message() << threads << " fitting threads");
    ExpectSame(RunWith(folder, [threads](RunState& run) { RunOn(run, threads); }), in_turn);
  }
}

// While the gauge's window takes its time over the first step, as a busy
// window does, the other threads draw, fit and save on: the repetitions
// settled meanwhile are not held up by it, and the steps that fell due go out
// after it, in order.
TEST(RunRepetitions, AStepHeldByTheWindowHoldsUpNoOtherThread) {
  brennic_test::RunFolder folder;
  WriteBlock(folder);
  const RunResult in_turn = RunWith(folder, brennic_test::RunInTurn);
  bool first = true;
  const RunResult held = RunWith(
      folder, [](RunState& run) { RunOn(run, 3); },
      [&] {
        if (!std::exchange(first, false)) return;
        // The second repetition's file, which the other threads make while this one waits.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!folder.Exists("stat2.txt") && std::chrono::steady_clock::now() < deadline)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(folder.Exists("stat2.txt"));
      });
  ExpectSame(held, in_turn);
}

// Repetitions of 40 000 values, whose values bound is four repetitions'
// worth, with the estimates of every sample waiting for their turn as well:
// the values held at once stay within the bound for any number of threads,
// and the bound is well below what holding every repetition would take.
TEST(RunRepetitions, HoldsValuesWithinABoundThatDoesNotGrowWithTheThreads) {
  brennic_test::RunFolder folder;
  RunParameters block = brennic_test::SmallRun(kTestKindPairT, kGeneratorNormal);
  block.N = 5;
  block.M = 40000;
  block.K = kRepetitions;
  block.EstimateMean = 1;
  block.EstimateCovariance = 1;
  folder.WriteParameters(block);
  for (const std::int32_t threads : {0, 8}) {
    SCOPED_TRACE(testing::Message() << threads << " threads besides the run's");
    std::size_t peak = 0;
    std::size_t bound = 0;
    RunWith(folder, [&](RunState& run) {
      peak = RunOn(run, threads);
      bound = ValuesInFlightBound(run, PlanRepetitions(run, threads + 1, kPlentyOfMemory, 0));
      EXPECT_LT(bound,
                static_cast<std::size_t>(run.K) * run.M * (1 + EstimatesSize(run)) * sizeof(double) / 2);
    });
    EXPECT_GT(peak, 0u);
    EXPECT_LE(peak, bound);
  }
}

// A run of p = 2, N = 20, as the checks accept it, with the given counts.
RunState Planned(std::int32_t n, std::int32_t m, std::int32_t k, bool estimates) {
  RunState run;
  run.Mean = std::make_unique<Vector>(2);
  run.N = n;
  run.M = m;
  run.K = k;
  run.EstimateMean = run.EstimateCovariance = estimates ? 1 : 0;
  return run;
}

// The arithmetic that plans a run at the edges of what the checks accept,
// without drawing it: the blocks cover each repetition, twenty progress
// steps cover the run, and the values bound is that of four repetitions.
// Block sizes: four blocks a thread, M / (4 threads) rounded up, or with
// estimates (5 a sample) M / (2 threads 5) rounded down.
TEST(PlanRepetitions, CountsTheLargestBlocksTheChecksAcceptWithoutOverflow) {
  const struct {
    std::int32_t m;
    std::int32_t k;
    bool estimates;
    std::int32_t processors;
    std::int64_t block_samples;
  } cases[] = {
      {kLargestCount, 1, false, 8, 67108864},
      {2082408386, 1, false, 8, 65075263},  // the first M whose block count left 32 bits on 8 threads
      {kLargestCount, 1, false, 64, 8388608},
      {kLargestCount, 1, false, 1, 536870912},
      {kLargestCount, 1, true, 8, 26843545},
      {5, kLargestCount / 5, false, 8, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "M = " << c.m << ", K = " << c.k << ", " << c.processors
                                    << " processors");
    const RunState run = Planned(20, c.m, c.k, c.estimates);
    const RepetitionPlan plan = PlanRepetitions(run, c.processors, kPlentyOfMemory, 0);
    EXPECT_EQ(plan.threads, c.processors);
    EXPECT_EQ(plan.block_samples, c.block_samples);
    EXPECT_GE(plan.blocks_per_repetition * plan.block_samples, c.m);
    EXPECT_LT((plan.blocks_per_repetition - 1) * plan.block_samples, c.m);
    const std::int64_t samples = std::int64_t{c.k} * c.m;
    EXPECT_EQ(plan.progress_step, samples / 20);
    EXPECT_EQ(samples / plan.progress_step, 20);
    const std::uint64_t repetitions_held = c.processors > 1 ? 4 : 2;
    EXPECT_EQ(plan.values_budget, std::max<std::uint64_t>(repetitions_held * c.m * sizeof(double), 1 << 20));
  }
  // A run in turn of the largest M holds 16 GiB of values and as many again
  // while they sort: refused, in the method's words, where that is not there.
  try {
    RefuseWithoutMemory(RunInTurnBytes(2, 20, kLargestCount), std::uint64_t{32} << 30);
    ADD_FAILURE() << "not refused";
  } catch (const EOutOfMemory& error) {
    EXPECT_EQ(error.Message(), "Недостаточно памяти для расчета");
  }
}

// Each thread beyond the first holds a sample of its own and its stack:
// together they hold one sample more than a run in turn, or 64 MiB of small
// ones, and nothing the memory left cannot hold. Samples of p = 2: N = 2^24
// makes 256 MiB, 2^20 16 MiB. The processors are those the thread may run on.
TEST(PlanRepetitions, ThreadsBeyondTheFirstHoldAboutOneSampleMore) {
  const auto in_turn = [](std::int32_t n) { return SamplerBytes(2, n) + 3 * RepetitionBytes(5); };
  constexpr std::uint64_t kStack = 8 << 20;
  const struct {
    std::int32_t n;
    std::int32_t processors;
    std::uint64_t available;
    std::uint64_t stack;
    std::int32_t threads;
  } cases[] = {
      {1000, 8, kPlentyOfMemory, kStack, 8},
      {1 << 20, 8, kPlentyOfMemory, 0, 4},  // three more of 16 MiB and a little: within 64 MiB
      {1 << 24, 8, kPlentyOfMemory, 0, 2},
      {1 << 24, 1, kPlentyOfMemory, 0, 1},
      {1 << 24, 8, in_turn(1 << 24) + SampleBytes(2, 1 << 24) / 2, 0, 1},
      {1000, 8, in_turn(1000) + 3 * (SamplerBytes(2, 1000) + kStack) + kStack, kStack, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "N = " << c.n << ", " << c.processors << " processors");
    EXPECT_EQ(PlanRepetitions(Planned(c.n, 5, 1, false), c.processors, c.available, c.stack).threads,
              c.threads);
  }

  cpu_set_t allowed;
  ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
  cpu_set_t one;
  CPU_ZERO(&one);
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
    if (CPU_ISSET(cpu, &allowed)) {
      CPU_SET(cpu, &one);
      break;
    }
  }
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(platform::UsableProcessorCount(), 1);
  ASSERT_EQ(sched_setaffinity(0, sizeof allowed, &allowed), 0);
  EXPECT_EQ(platform::UsableProcessorCount(), CPU_COUNT(&allowed));
}

}  // namespace
