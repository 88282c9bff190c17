#include "method/progress.h"

#include "platform/progress_messages.h"

TCProgress::TCProgress(std::int32_t total, std::int32_t step)
    : window_(platform::FindWindowByClass("TWMain")) {
  if (window_ != nullptr) {
    platform::SendWindowMessage(window_, platform::WM_PROGRESSBEGIN, static_cast<std::uintptr_t>(total),
                                step);
  }
}

TCProgress::~TCProgress() {
  if (window_ != nullptr) platform::SendWindowMessage(window_, platform::WM_PROGRESSEND, 0, 0);
}

void TCProgress::Step(std::int32_t increment) {
  if (window_ != nullptr) platform::SendWindowMessage(window_, platform::WM_PROGRESSSTEP, 0, increment);
}

void TCProgress::SendStepsThrough(std::int64_t count) {
  std::int64_t wanted = wanted_.load();
  while (wanted < count && !wanted_.compare_exchange_weak(wanted, count)) {
  }
  // The caller that finds no request open sends, for every request that
  // comes while it does, until a pass has served all of them.
  std::int32_t served = 1;
  if (requests_.fetch_add(1) != 0) return;
  for (;;) {
    for (const std::int64_t target = wanted_.load(); sent_ < target; ++sent_) Step(0);
    const std::int32_t left = requests_.fetch_sub(served) - served;
    if (left == 0) return;
    served = left;
  }
}

void TCProgress::Abandon() { window_ = nullptr; }
