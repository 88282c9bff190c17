// The run host: runs one calculation library's entry in a process of its own,
// so that the shell can stop a run at any moment without leaving the
// library's state or locks behind. Started by the shell's launch thread in the
// run folder with the library's path and its end of the run channel, over
// which the library's window messages and error boxes reach the shell.
#include <dlfcn.h>
#include <signal.h>
#include <sys/prctl.h>

#include <cstdio>
#include <string>

#include "platform/run_channel.h"

namespace {

// The only window class the method libraries look for.
const char* const kMainWindowClass = "TWMain";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: RunHost <library path> <channel descriptor>\n");
    return 2;
  }
  // A run outlives no shell: when the launch thread goes, so does the run host.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // A report or statistics file written past the file-size limit then fails
  // as on a full disk, with the library's own message, instead of the signal
  // ending the run.
  signal(SIGXFSZ, SIG_IGN);

  platform::RunChannelClient channel(std::stoi(argv[2]));
  channel.ProxyWindow(kMainWindowClass);
  channel.ForwardErrorBoxes();
  channel.ForwardTemporaryFiles();

  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  auto entry = library ? reinterpret_cast<int (*)()>(dlsym(library, "_RunCalcProgram")) : nullptr;
  if (!entry) return 1;
  int result;
  try {
    result = entry();
  } catch (...) {
    // Any exception that escapes the entry is the run's failure, which the
    // shell reports itself.
    return 1;
  }
  channel.ReportEntryReturned(result);
  return 0;
}
