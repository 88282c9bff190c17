#include "method/progress.h"

TCProgress::TCProgress(std::int32_t total, std::int32_t step)
    : window_(platform::FindWindowByClass("TWMain")) {
  if (window_ != nullptr) {
    platform::SendWindowMessage(window_, WM_PROGRESSBEGIN, static_cast<std::uintptr_t>(total), step);
  }
}

TCProgress::~TCProgress() {
  if (window_ != nullptr) platform::SendWindowMessage(window_, WM_PROGRESSEND, 0, 0);
}

void TCProgress::Step(std::int32_t increment) {
  if (busy_ != nullptr && busy_->load(std::memory_order_acquire)) {
    held_.push_back(increment);
    return;
  }
  SendHeld();
  Send(increment);
}

void TCProgress::HoldWhile(const std::atomic<bool>* busy) { busy_ = busy; }

void TCProgress::SendHeld() {
  for (const std::int32_t increment : held_) Send(increment);
  held_.clear();
}

void TCProgress::Send(std::int32_t increment) {
  if (window_ != nullptr) platform::SendWindowMessage(window_, WM_PROGRESSSTEP, 0, increment);
}

void TCProgress::Abandon() {
  window_ = nullptr;
  held_.clear();
}
