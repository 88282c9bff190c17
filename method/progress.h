// The run's progress as the shell's main window shows it: three synchronous
// messages to the window of class "TWMain", found once per run. Without such
// a window nothing is sent and the run goes on unchanged.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/window_messages.h"

constexpr std::uint32_t WM_PROGRESSBEGIN = platform::kWmUser + 0;
constexpr std::uint32_t WM_PROGRESSSTEP = platform::kWmUser + 1;
constexpr std::uint32_t WM_PROGRESSEND = platform::kWmUser + 2;

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

  // While *busy holds true, steps are kept back; each kept step is sent, in
  // order, before the first step made once it is false, or by SendHeld. A
  // null busy sends every step at once again.
  void HoldWhile(const std::atomic<bool>* busy);
  void SendHeld();

  // Forgets the window, so that a failed run's reporter ends without the end
  // message: the end message means a completed run.
  void Abandon();

 private:
  void Send(std::int32_t increment);

  platform::WindowHandle window_;
  const std::atomic<bool>* busy_ = nullptr;
  std::vector<std::int32_t> held_;
};
