#include "method/tests/prepared_run.h"

#include "generators/clock_timer.h"
#include "method/run_driver.h"
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

}  // namespace brennic_test
