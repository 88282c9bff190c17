#include "shell/model/gui_thread_call.h"

#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <exception>
#include <mutex>

struct GuiThreadCall::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool closed = false;
};

namespace {

struct PendingCall {
  bool done = false;
  std::intptr_t result = 0;
  std::exception_ptr error;
};

}  // namespace

GuiThreadCall::GuiThreadCall(QObject* receiver) : receiver_(receiver), shared_(std::make_shared<Shared>()) {}

GuiThreadCall::~GuiThreadCall() { Close(); }

void GuiThreadCall::Close() {
  std::lock_guard lock(shared_->mutex);
  shared_->closed = true;
  shared_->changed.notify_all();
}

std::optional<std::intptr_t> GuiThreadCall::Run(std::function<std::intptr_t()> work) {
  auto call = std::make_shared<PendingCall>();
  {
    // Under the lock, so that the receiver is never touched once Close has returned.
    std::lock_guard lock(shared_->mutex);
    if (shared_->closed) return std::nullopt;
    if (QThread::currentThread() != receiver_->thread()) {
      // The handed-over work keeps its own copies: a released caller may be
      // gone by the time the receiver's thread comes to it.
      QMetaObject::invokeMethod(
          receiver_,
          [shared = shared_, call, work = std::move(work)] {
            {
              std::lock_guard lock(shared->mutex);
              if (shared->closed) return;
            }
            std::intptr_t result = 0;
            std::exception_ptr error;
            try {
              result = work();
            } catch (...) {
              error = std::current_exception();
            }
            std::lock_guard lock(shared->mutex);
            call->done = true;
            call->result = result;
            call->error = error;
            shared->changed.notify_all();
          },
          Qt::QueuedConnection);
      work = nullptr;
    }
  }
  if (work) return work();

  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait(lock, [&] { return call->done || shared_->closed; });
  if (!call->done) return std::nullopt;
  if (call->error) std::rethrow_exception(call->error);
  return call->result;
}
