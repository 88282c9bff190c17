// The run host: runs one calculation library's entry in a process of its own,
// so that the shell can stop a run at any moment without leaving the
// library's state or locks behind. Started by the shell's launch thread in the
// run folder with the library's path and its end of the run channel, over
// which the library's window messages and error boxes reach the shell. The
// library runs in a child process; the run host guards it and ends whatever
// it started along with the run.
#include <dlfcn.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/run_channel.h"
#include "shell/runhost/run_guard.h"

namespace {

// The only window class the method libraries look for.
const char* const kMainWindowClass = "TWMain";

// Besides 1, a library that could not be run or failed: a run host started
// with wrong arguments, and one whose shell has gone (as when the shell
// leaves a request unanswered).
constexpr int kUsageStatus = 2;
constexpr int kShellGoneStatus = 3;

// A descriptor is a whole decimal number and nothing more.
std::optional<int> Descriptor(std::string_view text) {
  int fd = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), fd);
  if (error != std::errc() || end != text.data() + text.size() || fd < 0) return std::nullopt;
  return fd;
}

// Whether the socket option reads and holds that value.
bool SocketOptionIs(int fd, int option, int value) {
  int got = 0;
  socklen_t size = sizeof got;
  return getsockopt(fd, SOL_SOCKET, option, &got, &size) == 0 && got == value;
}

// The process that made the channel's socket pair: the shell that started
// this run host, and so its parent for as long as that shell lives. Nothing
// for any other descriptor: a network socket, one that listens, or one
// connected to a named socket, whose maker is no shell of ours.
std::optional<pid_t> ChannelMaker(int fd) {
  if (!SocketOptionIs(fd, SO_DOMAIN, AF_UNIX) || !SocketOptionIs(fd, SO_TYPE, SOCK_STREAM) ||
      !SocketOptionIs(fd, SO_ACCEPTCONN, 0)) {
    return std::nullopt;
  }
  // The other end of a socket pair has no name: its address is the family alone.
  sockaddr_un peer{};
  socklen_t length = sizeof peer;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || length != sizeof(sa_family_t)) {
    return std::nullopt;
  }
  ucred maker{};
  socklen_t size = sizeof maker;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &maker, &size) != 0 || maker.pid <= 0) return std::nullopt;
  return maker.pid;
}

// The library's process: the channel's end of the run host, the library
// loaded and its entry called.
int RunLibrary(const char* library_path, int fd) {
  platform::RunChannelClient channel(fd);
  channel.ProxyWindow(kMainWindowClass);
  channel.ForwardErrorBoxes();
  channel.ForwardTemporaryFiles();

  void* library = dlopen(library_path, RTLD_NOW | RTLD_LOCAL);
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: RunHost <library path> <channel descriptor>\n");
    return kUsageStatus;
  }
  const std::optional<int> fd = Descriptor(argv[2]);
  const std::optional<pid_t> shell = fd ? ChannelMaker(*fd) : std::nullopt;
  if (!shell) {
    std::fprintf(stderr, "RunHost: \"%s\" is not the descriptor of a run channel\n", argv[2]);
    return kUsageStatus;
  }
  const sigset_t guarded = PrepareGuard();
  // A run outlives no shell: when the launch thread goes, the run is ended.
  prctl(PR_SET_PDEATHSIG, kEndRunSignal);
  // A shell that went before the line above sent no signal; its run host has
  // been handed to another parent by then.
  if (getppid() != *shell) {
    std::fprintf(stderr, "RunHost: the shell that started it has gone\n");
    return kShellGoneStatus;
  }
  // A report or statistics file written past the file-size limit then fails
  // as on a full disk, with the library's own message, instead of the signal
  // ending the run.
  signal(SIGXFSZ, SIG_IGN);

  const pid_t guard = getpid();
  const pid_t runner = fork();
  if (runner < 0) return 1;
  if (runner == 0) {
    sigprocmask(SIG_UNBLOCK, &guarded, nullptr);
    // Nothing of the library runs on once its guard has gone.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != guard) return 1;
    return RunLibrary(argv[1], *fd);
  }
  close(*fd);
  return GuardRun(runner, guarded);
}
