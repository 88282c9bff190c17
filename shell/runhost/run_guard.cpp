#include "shell/runhost/run_guard.h"

#include <dirent.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The processes whose parent this one is: the kernel's list of the children
// of its one thread, or, on a kernel that keeps none, every process's own
// word on its parent.
std::vector<pid_t> Children() {
  std::vector<pid_t> children;
  const std::string self = std::to_string(getpid());
  if (std::ifstream list("/proc/self/task/" + self + "/children"); list) {
    for (pid_t child; list >> child;) children.push_back(child);
    return children;
  }
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return children;
  while (const dirent* entry = readdir(processes)) {
    const std::string name = entry->d_name;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    // "pid (command) state parent ..."; the command may hold blanks and parentheses.
    std::ifstream stat("/proc/" + name + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(") ") == std::string::npos) continue;
    std::string state;
    std::string parent;
    std::istringstream(line.substr(line.rfind(") ") + 2)) >> state >> parent;
    if (parent == self) children.push_back(std::stoi(name));
  }
  closedir(processes);
  return children;
}

// Reaps what has ended; true once nothing is left to reap or to wait for.
bool Reap(pid_t runner, int& runner_status) {
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(-1, &status, WNOHANG);
    if (ended > 0) {
      if (ended == runner) runner_status = status;
      continue;
    }
    if (ended < 0 && errno == EINTR) continue;
    return ended < 0;
  }
}

// Kills every child until none is left: those a killed child started become
// this process's children as it ends, and are killed in their turn.
void EndChildren(pid_t runner, int& runner_status) {
  sigset_t ended;
  sigemptyset(&ended);
  sigaddset(&ended, SIGCHLD);
  while (!Reap(runner, runner_status)) {
    for (const pid_t child : Children()) kill(child, SIGKILL);
    sigwaitinfo(&ended, nullptr);
  }
}

}  // namespace

sigset_t PrepareGuard() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  // Dispositions inherited from the shell must not discard them.
  signal(SIGCHLD, SIG_DFL);
  signal(kEndRunSignal, SIG_DFL);
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGCHLD);
  sigaddset(&signals, kEndRunSignal);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

int GuardRun(pid_t runner, const sigset_t& signals) {
  int runner_status = -1;
  bool runner_ended = false;
  while (!runner_ended) {
    const int caught = sigwaitinfo(&signals, nullptr);
    if (caught == kEndRunSignal) break;
    if (caught == SIGCHLD) {
      Reap(runner, runner_status);
      runner_ended = runner_status != -1;
    }
  }
  EndChildren(runner, runner_status);
  return runner_ended && WIFEXITED(runner_status) ? WEXITSTATUS(runner_status) : 1;
}
