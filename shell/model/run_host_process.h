// The run host as the shell's launch thread sees it: the child process that
// runs one calculation library in the run folder, and the shell's end of the
// channel over which it asks for window messages and error boxes.
#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
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

// The run host leads a process group of its own, which holds whatever its
// library starts unless that moves elsewhere; the run host ends all of it
// before it exits, the run ends with the run host's exit, and what is left of
// the group goes with it.
class RunHostProcess {
 public:
  RunHostProcess() = default;
  // Stops a run host that is still there and waits for it.
  ~RunHostProcess();
  RunHostProcess(const RunHostProcess&) = delete;
  RunHostProcess& operator=(const RunHostProcess&) = delete;

  // Starts the run host program in the folder on the library's path; false
  // when it cannot be started or was stopped before.
  bool Start(const std::string& program, const std::string& libraryPath, const std::string& folder);

  const std::shared_ptr<RunHostChannel>& Channel() const { return channel_; }

  // The run host's next frame; nothing once it has ended and the frames it
  // left in the channel are read. A process the library started may hold the
  // channel open for longer, so its end says nothing about the run.
  std::optional<platform::RunFrame> Next();

  // Waits until the run host has ended, ends what is left of its group and
  // reaps it.
  void Wait();

  // From any thread: has the run host end the run and everything its library
  // started, or keeps the run host from being started.
  void Stop();

 private:
  // With the mutex held.
  void KillGroup();

  // Guards the process id against reuse: the group is signalled only while
  // its leader, the run host, is not yet reaped.
  std::mutex mutex_;
  pid_t pid_ = -1;
  bool stopped_ = false;
  // Becomes readable when the run host ends.
  int pidfd_ = -1;
  bool ended_ = false;
  bool channelOpen_ = true;
  std::shared_ptr<RunHostChannel> channel_;
};
