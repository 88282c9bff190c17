// The method library's entry: one whole Monte Carlo run on the caller's
// thread, over the parameter block "Parameters.dat" in the current directory.
#include <cstdint>
#include <exception>
#include <new>
#include <string>

#include "generators/clock_timer.h"
#include "method/repetitions.h"
#include "method/report.h"
#include "method/run_driver.h"
#include "method/run_memory.h"
#include "platform/exceptions.h"
#include "platform/export.h"
#include "platform/message_box.h"

namespace {

// One run at a time per loaded library; the record outlives the runs, and
// every object it owns is made by the run that uses it.
RunState run;

void Run() {
  InitClockTimer();
  ReadParameters(run, "Parameters.dat");
  PrepareRun(run);
  // K * M fits 32 bits: the block's checks refuse more.
  const auto total = static_cast<std::int32_t>(static_cast<std::int64_t>(run.K) * run.M);
  run.Progress = std::make_unique<TCProgress>(total, static_cast<std::int32_t>(ProgressStep(total)));
  RunRepetitions(run);
  WriteReport(run);
  run.Progress.reset();
  FreeRunObjects(run);
}

// A failed run sends no end message and leaves nothing of its own behind.
int Fail(const std::string& message) {
  if (run.Progress) run.Progress->Abandon();
  run.Progress.reset();
  FreeRunObjects(run);
  platform::ShowErrorBox(message);
  return 0;
}

}  // namespace

extern "C" WB_EXPORT int _RunCalcProgram() {
  try {
    Run();
    return 1;
  } catch (const Exception& error) {
    return Fail(error.Message());
  } catch (const std::bad_alloc&) {
    // The allocator's failure is this platform's out-of-memory error.
    return Fail(kOutOfMemoryMessage);
  } catch (const std::exception& error) {
    // Nothing may leave the entry: the shell would only know that the run
    // failed, not why.
    return Fail(std::string("Расчет прерван из-за непредвиденной ошибки: ") + error.what());
  } catch (...) {
    return Fail("Расчет прерван из-за непредвиденной ошибки");
  }
}
