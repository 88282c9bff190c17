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
  if (!MaySend(repetition_)) {
    held_.push_back({repetition_, increment});
    return;
  }
  SendHeld();
  Send(increment);
}

void TCProgress::HoldUntilSettled(const std::atomic<std::int32_t>* settled) {
  settled_ = settled;
  held_.clear();
}

void TCProgress::DrawRepetition(std::int32_t k) { repetition_ = k; }

bool TCProgress::MaySend(std::int32_t repetition) const {
  return settled_ == nullptr || settled_->load(std::memory_order_acquire) >= repetition;
}

void TCProgress::SendHeld() {
  std::size_t sent = 0;
  while (sent < held_.size() && MaySend(held_[sent].repetition)) Send(held_[sent++].increment);
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(sent));
}

void TCProgress::Send(std::int32_t increment) {
  if (window_ != nullptr) platform::SendWindowMessage(window_, WM_PROGRESSSTEP, 0, increment);
}

void TCProgress::Abandon() {
  window_ = nullptr;
  held_.clear();
}
