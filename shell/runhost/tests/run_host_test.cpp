// The run host started wrongly, or orphaned before it could learn of its
// shell's end, stops with a message and a failure status before it loads any
// library; a shell killed during a run takes everything of the run with it.
// Its ordinary runs are those of the shell's run tests.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/run_channel.h"
#include "platform/tests/temporary_folder.h"

namespace {

struct Outcome {
  int status = -1;  // the exit status; -1 when it ended otherwise
  std::string errors;
};

// Runs the staged run host with these arguments and its standard error
// caught; `orphaned` starts it from a child process, so that its parent is
// not the process that made the channel, as after the shell's end.
Outcome RunHost(const std::vector<std::string>& arguments, bool orphaned = false) {
  int error_pipe[2];
  EXPECT_EQ(pipe(error_pipe), 0);
  const std::string program = WB_STAGE_DIR "/RunHost";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(error_pipe[1], STDERR_FILENO);
    close(error_pipe[0]);
    if (orphaned) {
      if (const pid_t host = fork(); host != 0) {
        int status = 0;
        waitpid(host, &status, 0);
        _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 127);
      }
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(error_pipe[1]);
  Outcome outcome;
  char buffer[256];
  for (ssize_t got; (got = read(error_pipe[0], buffer, sizeof buffer)) > 0;)
    outcome.errors.append(buffer, got);
  close(error_pipe[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  return outcome;
}

TEST(RunHost, ABadChannelArgumentEndsWithAMessage) {
  const auto expect_refused = [](const std::string& descriptor) {
    const Outcome outcome = RunHost({"libNone.so", descriptor});
    EXPECT_EQ(outcome.status, 2) << descriptor;
    EXPECT_NE(outcome.errors.find("\"" + descriptor + "\" is not the descriptor"), std::string::npos)
        << outcome.errors;
  };
  for (const char* descriptor : {"", "x", "3x", " 3", "-1", "99999999999", "900"}) expect_refused(descriptor);
  int not_a_socket[2];
  ASSERT_EQ(pipe(not_a_socket), 0);
  expect_refused(std::to_string(not_a_socket[0]));
  close(not_a_socket[0]);
  close(not_a_socket[1]);
  EXPECT_EQ(RunHost({"libNone.so"}).status, 2);

  // Sockets that no shell made as a pair: a network connection, a socket
  // that listens, and one connected to a named socket.
  sockaddr_in local{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  sockaddr_un named{AF_UNIX, {}};
  socklen_t size = sizeof local;
  const TemporaryFolder folder;
  folder.File("channel").copy(named.sun_path, sizeof named.sun_path - 1);
  const int sockets[] = {socket(AF_INET, SOCK_STREAM, 0), socket(AF_INET, SOCK_STREAM, 0),
                         socket(AF_UNIX, SOCK_STREAM, 0), socket(AF_UNIX, SOCK_STREAM, 0)};
  ASSERT_TRUE(bind(sockets[0], reinterpret_cast<sockaddr*>(&local), size) == 0 &&
              listen(sockets[0], 1) == 0 &&
              getsockname(sockets[0], reinterpret_cast<sockaddr*>(&local), &size) == 0 &&
              connect(sockets[1], reinterpret_cast<sockaddr*>(&local), size) == 0 &&
              bind(sockets[2], reinterpret_cast<sockaddr*>(&named), sizeof named) == 0 &&
              listen(sockets[2], 1) == 0 &&
              connect(sockets[3], reinterpret_cast<sockaddr*>(&named), sizeof named) == 0);
  for (const int fd : {sockets[1], sockets[2], sockets[3]}) expect_refused(std::to_string(fd));
  for (const int fd : sockets) close(fd);
}

TEST(RunHost, AnOrphanedRunHostEndsAtOnce) {
  int channel[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, channel), 0);
  const Outcome outcome = RunHost({"libNone.so", std::to_string(channel[1])}, true);
  EXPECT_EQ(outcome.status, 3);
  EXPECT_NE(outcome.errors.find("the shell that started it has gone"), std::string::npos) << outcome.errors;
  close(channel[0]);
  close(channel[1]);
}

// Whether a process of the group still runs; a zombie has ended.
bool GroupAlive(pid_t group) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(") ") == std::string::npos) continue;
    std::string state;
    pid_t parent = 0;
    pid_t its_group = 0;
    std::istringstream(line.substr(line.rfind(") ") + 2)) >> state >> parent >> its_group;
    if (its_group == group && state != "Z") return true;
  }
  return false;
}

// The helpers of a library, one forked in the run's process group and one a
// daemon in a session of its own, end when the shell that started the run
// host is killed. The shell here is a child process that starts the run host
// and answers its first request, the begin message, which names the helper's
// group; the library then waits.
TEST(RunHost, WhatTheLibraryStartedEndsWhenTheShellIsKilled) {
  for (const char* library : {WB_FORK_HELPER, WB_DAEMON_HELPER}) {
    SCOPED_TRACE(library);
    const TemporaryFolder folder;
    std::ofstream(folder.File("Parameters.dat")) << "wait";
    int named[2];
    ASSERT_EQ(pipe(named), 0);
    const pid_t shell = fork();
    if (shell == 0) {
      int channel[2];
      if (socketpair(AF_UNIX, SOCK_STREAM, 0, channel) != 0) _exit(1);
      if (fork() == 0) {
        const std::string program = WB_STAGE_DIR "/RunHost";
        // In a group of its own, as the shell starts it.
        if (setpgid(0, 0) == 0 && chdir(folder.Path().c_str()) == 0)
          execl(program.c_str(), program.c_str(), library, std::to_string(channel[1]).c_str(), nullptr);
        _exit(127);
      }
      const auto request = platform::ReadRunFrame(channel[0]);
      const auto begin = request ? platform::DecodeWindowMessage(*request) : std::nullopt;
      const auto group = begin ? static_cast<pid_t>(begin->wparam) : pid_t{-1};
      if (write(named[1], &group, sizeof group) != sizeof group) _exit(1);
      platform::WriteRunFrame(channel[0], platform::EncodeNumber(platform::RunFrameKind::Answer, 0));
      for (;;) pause();
    }
    pid_t group = -1;
    ASSERT_EQ(read(named[0], &group, sizeof group), static_cast<ssize_t>(sizeof group));
    close(named[0]);
    close(named[1]);
    ASSERT_GT(group, 0);
    EXPECT_TRUE(GroupAlive(group));
    kill(shell, SIGKILL);
    waitpid(shell, nullptr, 0);
    // Polled with room for a loaded machine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (GroupAlive(group) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(GroupAlive(group));
  }
}

}  // namespace
