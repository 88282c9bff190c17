#include "shell/model/run_host_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

RunHostChannel::~RunHostChannel() { close(fd_); }

void RunHostChannel::Answer(std::int64_t value) const {
  platform::WriteRunFrame(fd_, platform::EncodeNumber(platform::RunFrameKind::Answer, value));
}

RunHostProcess::~RunHostProcess() {
  if (pid_ < 0) return;
  kill(pid_, SIGKILL);
  Reap();
}

bool RunHostProcess::Start(const std::string& program, const std::string& libraryPath,
                           const std::string& folder) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
  channel_ = std::make_shared<RunHostChannel>(ends[0]);

  // The run host's end is the one descriptor it inherits; dup2 onto another
  // number clears its close-on-exec flag.
  const int childFd = ends[1] == 3 ? 4 : 3;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], childFd);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

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
  return true;
}

std::optional<platform::RunFrame> RunHostProcess::Next(int stopFd) const {
  pollfd watched[2] = {{channel_->Descriptor(), POLLIN, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (watched[1].revents != 0) return std::nullopt;
    if (watched[0].revents != 0) return platform::ReadRunFrame(channel_->Descriptor());
  }
}

void RunHostProcess::Finish(int stopFd) {
  if (pid_ < 0) return;
  const int exited = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  if (exited >= 0) {
    pollfd watched[2] = {{exited, POLLIN, 0}, {stopFd, POLLIN, 0}};
    while (poll(watched, 2, -1) < 0 && errno == EINTR) {
    }
    close(exited);
    if (watched[1].revents != 0) kill(pid_, SIGKILL);
  } else {
    kill(pid_, SIGKILL);
  }
  Reap();
}

void RunHostProcess::Reap() {
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}
