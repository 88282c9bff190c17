// Runs work on the thread of a QObject, the GUI thread, for callers on any
// thread: directly when the caller is already there, otherwise handed over
// and waited for, as a synchronous window message is.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class GuiThreadCall {
 public:
  // The receiver must outlive this object.
  explicit GuiThreadCall(QObject* receiver);
  // Releases every caller still waiting.
  ~GuiThreadCall();
  GuiThreadCall(const GuiThreadCall&) = delete;
  GuiThreadCall& operator=(const GuiThreadCall&) = delete;

  // The work's result, or nothing when the call was released before the
  // work ran. An exception of the work reaches the caller.
  std::optional<std::intptr_t> Run(std::function<std::intptr_t()> work);

  // Releases the waiting callers and refuses later ones; on the receiver's thread.
  void Close();

 private:
  struct Shared;

  QObject* receiver_;
  std::shared_ptr<Shared> shared_;
};
