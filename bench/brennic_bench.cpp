// Whole Monte Carlo runs of the method library against their floor, in one
// process: for each configuration the run through _RunCalcProgram (in this
// process and on this thread, at a fixed seed), the reference loop of the same
// run, and, each alone, the run's own drawing of its samples (the library's
// steps in this process) and Quessel's fitting of the same values. It first checks that
// the reference reproduces the run's statistics files, then prints the best
// time of each, the ratio run / reference and the nanoseconds per observation.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "bench/reference_run.h"
#include "criteria/quessel.h"
#include "generators/clock_timer.h"
#include "method/parameter_block.h"
#include "method/run_driver.h"
#include "platform/system_time.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMillisecond = 0;  // the seed of every run

// Unit variances and one correlation for every pair of the p variables.
std::vector<double> EquicorrelatedTriangle(int p, double correlation) {
  std::vector<double> triangle;
  for (int a = 0; a < p; ++a) {
    for (int b = a; b < p; ++b) triangle.push_back(a == b ? 1.0 : correlation);
  }
  return triangle;
}

RunParameters Block(int test_kind, int generator_kind, int p, std::int32_t n, std::int32_t m, std::int32_t k,
                    double correlation) {
  RunParameters block;
  block.TestKind = static_cast<std::int8_t>(test_kind);
  block.GeneratorKind = static_cast<std::int8_t>(generator_kind);
  block.GenParam1 = 0;
  block.GenParam2 = 1;
  block.GenParam3 = 0.5f;
  block.Dimension = static_cast<std::int16_t>(p);
  block.Mean.assign(static_cast<std::size_t>(p), 0.0);
  block.Covariance = EquicorrelatedTriangle(p, correlation);
  block.N = n;
  block.M = m;
  block.K = k;
  return block;
}

struct Configuration {
  std::string name;
  std::string description;
  RunParameters block;
  double target;  // the largest ratio run / reference allowed
};

std::vector<Configuration> Configurations() {
  RunParameters partial = Block(kTestKindIndividT, kGeneratorNormal, 4, 30, 2000, 10, 0.0);
  partial.VarI = 1;
  partial.VarJ = 2;
  partial.Q = 2;
  return {
      {"a", "T2, normal, p = 5, N = 50, M = 1000, K = 10, correlations 0.5",
       Block(kTestKindT2, kGeneratorNormal, 5, 50, 1000, 10, 0.5), 1.5},
      {"b", "partial t, normal, p = 4, q = 2, N = 30, M = 2000, K = 10, identity", partial, 1.5},
      {"c", "T2, exponential power 0.5, p = 3, N = 20, M = 500, K = 4, correlations 0.5",
       Block(kTestKindT2, kGeneratorExpPower, 3, 20, 500, 4, 0.5), 3.0},
  };
}

// The library, loaded once for all runs, as the program loads it.
class Library {
 public:
  Library() {
    const std::string path = std::string(WB_STAGE_DIR) + "/Libraries/libBrennic.so";
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw std::runtime_error(dlerror());
    entry_ = reinterpret_cast<int (*)()>(dlsym(handle_, "_RunCalcProgram"));
    if (entry_ == nullptr) throw std::runtime_error("no _RunCalcProgram");
  }
  ~Library() { dlclose(handle_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // One whole run in the current directory at the fixed seed.
  void Run() const {
    platform::FixUtcMillisecond(kMillisecond);
    const int result = entry_();
    platform::FixUtcMillisecond(-1);
    if (result != 1) throw std::runtime_error("the run failed");
  }

 private:
  void* handle_;
  int (*entry_)();
};

// A configuration's own run folder with its "Parameters.dat".
class Folder {
 public:
  explicit Folder(const RunParameters& block) {
    std::string pattern = (fs::temp_directory_path() / "brennic-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = pattern;
    Write(block);
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  void Write(const RunParameters& block) const {
    std::ofstream(path_ / "Parameters.dat", std::ios::binary) << EncodeRunParameters(block);
  }
  std::string Read(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(path_ / name, std::ios::binary).rdbuf();
    return text.str();
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// The statistics file a repetition's values make: the values sorted, six
// significant digits in a field of ten.
std::string StatisticsText(const std::string& name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::string text = name + "\n0 " + std::to_string(values.size()) + "\n";
  for (const double value : values) {
    char line[64];
    std::snprintf(line, sizeof line, "%10.6g\n", value);
    text += line;
  }
  return text;
}

// The reference must compute the run's values: the run writes its statistics
// files once, and the reference's values, tabulated or computed, must make the
// same files. Leaves the values in `values`.
void CheckReference(const Library& library, const Configuration& configuration, std::vector<double>& values) {
  RunParameters block = configuration.block;
  block.SaveValues = 1;
  block.StatisticsPath = "stat.txt";
  const Folder folder(block);
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  library.Run();
  fs::current_path(previous);

  const std::string name = block.TestKind == kTestKindT2 ? "stT2" : "stIndivid_t";
  for (const auto transformations : {bench::Transformations::kComputed, bench::Transformations::kTabulated}) {
    bench::ReferenceRun(block, transformations).Run(kMillisecond, values.data());
    for (std::int32_t k = 0; k < block.K; ++k) {
      const auto first = values.begin() + static_cast<std::ptrdiff_t>(k) * block.M;
      if (folder.Read("stat" + std::to_string(k + 1) + ".txt") !=
          StatisticsText(name, std::vector<double>(first, first + block.M))) {
        throw std::runtime_error("(" + configuration.name + ") the reference does not give the run's values");
      }
    }
  }
}

// The run's drawing of its samples and their statistics, step by step in
// this process without the fitting, from the block in the current folder.
void DrawSamples() {
  platform::FixUtcMillisecond(kMillisecond);
  InitClockTimer();
  platform::FixUtcMillisecond(-1);
  RunState run;
  ReadParameters(run, "Parameters.dat");
  PrepareRun(run);
  run.Progress = std::make_unique<TCProgress>(run.K * run.M, ProgressStep(run.K * run.M));
  for (std::int32_t k = 0; k < run.K; ++k) RunSamples(run, k);
  benchmark::DoNotOptimize(run.Values.data());
  run.Progress.reset();
  FreeRunObjects(run);
}

// Quessel's part of a run over given values: sorting and the criteria of each repetition.
void Fit(const RunParameters& block, const std::vector<double>& values, std::vector<double>& work) {
  const std::int32_t p = block.Dimension;
  DistribFunc law = block.TestKind == kTestKindT2
                        ? DistribFunc{dfFisher, static_cast<double>(p), static_cast<double>(block.N - p)}
                        : DistribFunc{dfStudent, static_cast<double>(block.N - p + block.Q - 2), 0.0};
  work = values;
  for (std::int32_t k = 0; k < block.K; ++k) {
    double* repetition = work.data() + static_cast<std::ptrdiff_t>(k) * block.M;
    CritVA criteria{};
    sort_up(block.M, repetition);
    KolmSmOm(repetition, block.M, &law, criteria);
    ChiRTrueStats(repetition, block.M, &law, 1, 5, criteria, "./Tables/");
    benchmark::DoNotOptimize(criteria);
  }
}

// The best time of each benchmark over its repetitions, in milliseconds.
class BestTimes : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      auto [entry, added] =
          best_.try_emplace(run.run_name.function_name, std::numeric_limits<double>::infinity());
      entry->second = std::min(entry->second, run.GetAdjustedRealTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Best(const std::string& name) const {
    const auto found = best_.find(name);
    return found == best_.end() ? std::numeric_limits<double>::quiet_NaN() : found->second;
  }

 private:
  std::map<std::string, double> best_;
};

void PrintTable(const std::vector<Configuration>& configurations, const BestTimes& times) {
  std::printf("\nbest times in ms, ratios, ns per observation\n");
  std::printf("%-4s %8s %8s %8s %8s %8s | %9s %6s %9s %9s | %8s %8s %8s\n", "", "run", "floor", "computed",
              "sampling", "fitting", "run/floor", "target", "run/comp", "samp/floor", "run", "floor",
              "computed");
  for (const Configuration& c : configurations) {
    const double run = times.Best(c.name + "/run");
    const double floor = times.Best(c.name + "/reference");
    const double computed = times.Best(c.name + "/computed");
    const double sampling = times.Best(c.name + "/sampling");
    const double observations = static_cast<double>(c.block.N) * c.block.M * c.block.K;
    auto per_observation = [observations](double ms) { return ms * 1e6 / observations; };
    std::printf("(%s) %8.2f %8.2f %8.2f %8.2f %8.2f | %9.2f %6.1f %9.2f %9.2f | %8.1f %8.1f %8.1f %s\n",
                c.name.c_str(), run, floor, computed, sampling, times.Best(c.name + "/fitting"), run / floor,
                c.target, run / computed, sampling / floor, per_observation(run), per_observation(floor),
                per_observation(computed), run / floor <= c.target ? "" : "above target");
  }
  std::printf(
      "run: _RunCalcProgram; floor: the reference loop with tabulated transformations of the uniform draw;\n"
      "computed: the same loop computing them for every draw; sampling: the run's own drawing and\n"
      "statistics alone; fitting: Quessel's sorting and criteria of the same values alone.\n");
  for (const Configuration& c : configurations) {
    std::printf("(%s) %s\n", c.name.c_str(), c.description.c_str());
  }
}

// Every benchmark: the best of five repetitions of at least half a second each.
void Configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(5);
}

void RegisterReference(const std::string& name, bench::Transformations transformations,
                       const RunParameters& block, const std::shared_ptr<std::vector<double>>& values) {
  auto reference = std::make_shared<bench::ReferenceRun>(block, transformations);
  Configure(benchmark::RegisterBenchmark(name.c_str(), [reference, values](benchmark::State& state) {
    for (auto _ : state) {
      reference->Run(kMillisecond, values->data());
      benchmark::ClobberMemory();
    }
  }));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const Library library;
  const std::vector<Configuration> configurations = Configurations();
  std::vector<std::unique_ptr<Folder>> folders;
  for (const Configuration& c : configurations) {
    const RunParameters& block = c.block;
    auto values = std::make_shared<std::vector<double>>(static_cast<std::size_t>(block.K) * block.M);
    CheckReference(library, c, *values);
    folders.push_back(std::make_unique<Folder>(block));
    Configure(benchmark::RegisterBenchmark(
        (c.name + "/run").c_str(), [&library, folder = folders.back()->Path()](benchmark::State& state) {
          const fs::path previous = fs::current_path();
          fs::current_path(folder);
          for (auto _ : state) library.Run();
          fs::current_path(previous);
        }));
    Configure(benchmark::RegisterBenchmark((c.name + "/sampling").c_str(),
                                           [folder = folders.back()->Path()](benchmark::State& state) {
                                             const fs::path previous = fs::current_path();
                                             fs::current_path(folder);
                                             for (auto _ : state) DrawSamples();
                                             fs::current_path(previous);
                                           }));
    RegisterReference(c.name + "/reference", bench::Transformations::kTabulated, block, values);
    RegisterReference(c.name + "/computed", bench::Transformations::kComputed, block, values);
    Configure(
        benchmark::RegisterBenchmark((c.name + "/fitting").c_str(), [block, values](benchmark::State& state) {
          std::vector<double> work;
          for (auto _ : state) Fit(block, *values, work);
        }));
  }
  BestTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  PrintTable(configurations, times);
  benchmark::Shutdown();
  return 0;
}
