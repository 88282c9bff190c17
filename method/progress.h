// The run's progress as the shell's main window shows it: three synchronous
// messages to the window of class "TWMain", found once per run. Without such
// a window nothing is sent and the run goes on unchanged.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/window_messages.h"

class TCProgress {
 public:
  // Sends begin with the total number of steps and the default step.
  TCProgress(std::int32_t total, std::int32_t step);
  // Sends end: the run has completed.
  virtual ~TCProgress();
  TCProgress(const TCProgress&) = delete;
  TCProgress& operator=(const TCProgress&) = delete;

  // Sends step; an increment of 0 advances by the default step.
  void Step(std::int32_t increment);

  // Sends step messages until `count` have been sent in all, for a run whose
  // steps become due on several threads. Any thread may call it; the calls
  // are combined, so that the messages go out one at a time and in order, and
  // a thread that finds another one sending leaves its steps to that one
  // instead of waiting for it.
  void SendStepsThrough(std::int64_t count);

  // Forgets the window, so that a failed run's reporter ends without the end
  // message: the end message means a completed run.
  void Abandon();

 private:
  platform::WindowHandle window_;
  std::atomic<std::int64_t> wanted_{0};    // steps asked for, the most any caller asked
  std::atomic<std::int32_t> requests_{0};  // calls not yet served; the first one sends
  std::int64_t sent_ = 0;                  // touched only by the sending thread
};
