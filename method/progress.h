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

  // Holds back the steps of repetitions drawn ahead of their fitting: a step
  // made while repetition k is drawn is sent only once *settled (how many
  // repetitions, counted from the first, are fitted and saved) has reached k,
  // which is where a run of one repetition after another sends it. Held steps
  // go out in order before the next step that may be sent, or by SendHeld. A
  // null settled sends every step at once again and drops the steps still
  // held: their repetitions came after a failed one.
  void HoldUntilSettled(const std::atomic<std::int32_t>* settled);
  // The repetition that the following steps belong to.
  void DrawRepetition(std::int32_t k);
  // Sends the held steps whose earlier repetitions are all settled.
  void SendHeld();

  // Forgets the window, so that a failed run's reporter ends without the end
  // message: the end message means a completed run.
  void Abandon();

 private:
  void Send(std::int32_t increment);

  struct HeldStep {
    std::int32_t repetition;
    std::int32_t increment;
  };

  bool MaySend(std::int32_t repetition) const;

  platform::WindowHandle window_;
  const std::atomic<std::int32_t>* settled_ = nullptr;
  std::int32_t repetition_ = 0;
  std::vector<HeldStep> held_;  // in the order they were made
};
