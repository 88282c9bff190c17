// The run host's own process, which runs no library code: the library runs
// in a child of it, and whatever that starts and leaves behind, in whatever
// session or process group it moved to, is handed back to this process when
// its parent ends. Once the library's process has ended, or the shell ends
// the run (the stop signal of an abort, or of the shell's own end), every
// process of the run is ended before the run host exits.
#pragma once

#include <signal.h>
#include <sys/types.h>

// The signal with which the shell ends a run, and the one the run host gets
// when the shell ends.
inline constexpr int kEndRunSignal = SIGTERM;

// Makes this process the one the run's orphans are handed to and blocks the
// signals that GuardRun waits for; returns them, for the library's process
// to unblock.
sigset_t PrepareGuard();

// Waits until the library's process `runner` ends or the run is ended, then
// ends and reaps every process of the run. The runner's exit status, or 1
// when it did not exit by itself.
int GuardRun(pid_t runner, const sigset_t& signals);
