#include "shell/model/run_host_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "shell/runhost/run_guard.h"

extern char** environ;

RunHostChannel::~RunHostChannel() { close(fd_); }

void RunHostChannel::Answer(std::int64_t value) const {
  platform::WriteRunFrame(fd_, platform::EncodeNumber(platform::RunFrameKind::Answer, value));
}

RunHostProcess::~RunHostProcess() {
  Stop();
  Wait();
  if (pidfd_ >= 0) close(pidfd_);
}

bool RunHostProcess::Start(const std::string& program, const std::string& libraryPath,
                           const std::string& folder) {
  std::lock_guard lock(mutex_);
  if (stopped_) return false;
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
  channel_ = std::make_shared<RunHostChannel>(ends[0]);

  // The run host's end is the one descriptor it inherits besides the
  // standard streams: dup2 onto another number clears its close-on-exec flag,
  // and every descriptor above it goes, whether the shell's code, a library
  // it loaded or Qt opened it. Below it stands at most the pair's own end,
  // which closes on exec.
  const int childFd = ends[1] == 3 ? 4 : 3;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], childFd);
  posix_spawn_file_actions_addclosefrom_np(&actions, childFd + 1);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

  const std::string fdText = std::to_string(childFd);
  char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(libraryPath.c_str()),
                        const_cast<char*>(fdText.c_str()), nullptr};
  const int failed = posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  if (failed != 0) {
    pid_ = -1;
    return false;
  }
  // Called directly: this C library's header declares it without C linkage.
  pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  if (pidfd_ < 0) {
    // Without it the run's end could not be told from the channel's.
    KillGroup();
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return false;
  }
  return true;
}

std::optional<platform::RunFrame> RunHostProcess::Next() {
  const int fd = channel_->Descriptor();
  while (!ended_) {
    pollfd watched[] = {{channelOpen_ ? fd : -1, POLLIN, 0}, {pidfd_, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0 && errno == EINTR) continue;
    if (watched[0].revents != 0) {
      if (auto frame = platform::ReadRunFrame(fd)) return frame;
      // Closed or broken: the run host's end is all that is left to wait for.
      channelOpen_ = false;
      continue;
    }
    ended_ = true;
    // Nothing of the group may hold back the last frames below.
    std::lock_guard lock(mutex_);
    KillGroup();
  }
  pollfd left{channelOpen_ ? fd : -1, POLLIN, 0};
  if (poll(&left, 1, 0) > 0) {
    if (auto frame = platform::ReadRunFrame(fd)) return frame;
  }
  channelOpen_ = false;
  return std::nullopt;
}

void RunHostProcess::Wait() {
  pid_t pid;
  {
    std::lock_guard lock(mutex_);
    pid = pid_;
  }
  if (pid < 0) return;
  // Wait for the end without reaping, so that the group's id is not reused
  // while it may still be signalled.
  siginfo_t info;
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  {
    std::lock_guard lock(mutex_);
    KillGroup();
    pid_ = -1;
  }
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

void RunHostProcess::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  // The run host ends what its library started, wherever that went, then
  // itself; what is left of its group goes once it has ended.
  if (pid_ >= 0) kill(pid_, kEndRunSignal);
}

void RunHostProcess::KillGroup() {
  if (pid_ >= 0) kill(-pid_, SIGKILL);
}
