// The run host as the shell's launch thread sees it: the child process that
// runs one calculation library in the run folder, and the shell's end of the
// channel over which it asks for window messages and error boxes.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/run_channel.h"

// The shell's end of the channel, shared by the launch thread, which reads
// the run host's requests, and the GUI thread, which answers them.
class RunHostChannel {
public:
  explicit RunHostChannel(int fd) : fd_(fd) {}
  ~RunHostChannel();
  RunHostChannel(const RunHostChannel&) = delete;
  RunHostChannel& operator=(const RunHostChannel&) = delete;

  int Descriptor() const { return fd_; }

  // An answer to a run host that has already gone is dropped.
  void Answer(std::int64_t value) const;

private:
  int fd_;
};

class RunHostProcess {
public:
  RunHostProcess() = default;
  // Kills a run host that is still there.
  ~RunHostProcess();
  RunHostProcess(const RunHostProcess&) = delete;
  RunHostProcess& operator=(const RunHostProcess&) = delete;

  // Starts the run host program in the folder on the library's path; false
  // when it cannot be started.
  bool Start(const std::string& program, const std::string& libraryPath, const std::string& folder);

  const std::shared_ptr<RunHostChannel>& Channel() const { return channel_; }

  // The run host's next frame; nothing once it has closed the channel or
  // when the stop descriptor becomes readable.
  std::optional<platform::RunFrame> Next(int stopFd) const;

  // Waits for the run host to end, killing it as soon as the stop descriptor
  // becomes readable.
  void Finish(int stopFd);

private:
  void Reap();

  pid_t pid_ = -1;
  std::shared_ptr<RunHostChannel> channel_;
};
