// Whole Monte Carlo runs of the method library, in this process and on this
// thread, at a fixed seed: observations per second and the wall time of a
// run for three typical configurations.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "method/parameter_block.h"
#include "platform/system_time.h"

namespace {

namespace fs = std::filesystem;

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

// The library, loaded once for all runs; each run gets a fresh folder.
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

  int Run() const { return entry_(); }

 private:
  void* handle_;
  int (*entry_)();
};

void RunBlock(benchmark::State& state, const RunParameters& block) {
  static const Library library;
  const fs::path previous = fs::current_path();
  std::string folder = (fs::temp_directory_path() / "brennic-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  fs::current_path(folder);
  std::ofstream("Parameters.dat", std::ios::binary) << EncodeRunParameters(block);
  platform::FixUtcMillisecond(0);
  for (auto _ : state) {
    if (library.Run() != 1) state.SkipWithError("the run failed");
  }
  platform::FixUtcMillisecond(-1);
  fs::current_path(previous);
  fs::remove_all(folder);
  const double observations = static_cast<double>(block.N) * block.M * block.K;
  state.counters["observations/s"] =
      benchmark::Counter(observations * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["ns/observation"] = benchmark::Counter(
      observations * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
}

// (a) Hotelling's T2, normal law, p = 5, N = 50, M = 1000, K = 10, correlations 0.5.
void T2Normal(benchmark::State& state) { RunBlock(state, Block(2, 1, 5, 50, 1000, 10, 0.5)); }

// (b) Partial t, normal law, p = 4, q = 2, N = 30, M = 2000, K = 10, identity covariance.
void PartialTNormal(benchmark::State& state) {
  RunParameters block = Block(5, 1, 4, 30, 2000, 10, 0.0);
  block.VarI = 1;
  block.VarJ = 2;
  block.Q = 2;
  RunBlock(state, block);
}

// (c) T2, exponential-power law with shape 0.5, p = 3, N = 20, M = 500, K = 4, correlations 0.5.
void T2ExpPower(benchmark::State& state) { RunBlock(state, Block(2, 5, 3, 20, 500, 4, 0.5)); }

}  // namespace

BENCHMARK(T2Normal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(PartialTNormal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(T2ExpPower)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
