#include "method/tests/prepared_run.h"

#include "generators/clock_timer.h"
#include "method/run_driver.h"
#include "method/statistics_file.h"
#include "platform/system_time.h"

namespace brennic_test {

void PrepareRunAt(RunState& run, int millisecond) {
  platform::FixUtcMillisecond(millisecond);
  InitClockTimer();
  platform::FixUtcMillisecond(-1);
  ReadParameters(run, "Parameters.dat");
  PrepareRun(run);
  const std::int32_t total = run.K * run.M;
  run.Progress = std::make_unique<TCProgress>(total, static_cast<std::int32_t>(ProgressStep(total)));
}

void RunSamples(RunState& run, std::int32_t k, std::vector<double>& values) {
  const std::int64_t step = ProgressStep(static_cast<std::int64_t>(run.K) * run.M);
  const std::int32_t p = run.Dimension();
  // The sample in plain rows, one per variable, overwritten by every sample.
  std::vector<double> sample(static_cast<std::size_t>(p) * static_cast<std::size_t>(run.N));
  SampleMoments moments;
  std::vector<double> estimates(static_cast<std::size_t>(EstimatesSize(run)));
  values.assign(static_cast<std::size_t>(run.M), 0.0);
  for (std::int32_t m = 0; m < run.M; ++m) {
    for (std::int32_t s = 0; s < run.N; ++s) {
      const std::unique_ptr<Vector> observation(run.Multi->CValueMulti());
      for (std::int32_t b = 0; b < p; ++b)
        sample[static_cast<std::size_t>(b) * run.N + s] = (*observation)[b];
    }
    values[static_cast<std::size_t>(m)] = SampleStatistic(*run.Statistic, moments, sample, p);
    if (!estimates.empty()) {
      TakeEstimates(run, moments, estimates.data());
      AddEstimates(run, estimates.data());
    }
    if ((static_cast<std::int64_t>(k) * run.M + m + 1) % step == 0) run.Progress->Step(0);
  }
}

void RunInTurn(RunState& run) {
  std::vector<double> values;
  for (std::int32_t k = 0; k < run.K; ++k) {
    RunSamples(run, k, values);
    AddCriteria(run, k, FitValues(run, values));
    if (run.SaveValues != 0) SaveStatistics(run, k, values);
  }
}

}  // namespace brennic_test
