// Shows the error boxes of this process's libraries (and those forwarded from
// the run host) through the prompt on the GUI thread; a box raised on another
// thread blocks that thread until it is closed.
#pragma once

#include <QObject>
#include <memory>

#include "platform/message_box.h"
#include "shell/model/gui_thread_call.h"
#include "shell/model/prompt.h"

class GuiErrorBox {
 public:
  // Installs itself as the process's error box; the prompt and the receiver,
  // whose thread shows the boxes, must outlive it.
  GuiErrorBox(QObject* receiver, Prompt& prompt);
  // Restores the error box it replaced.
  ~GuiErrorBox();
  GuiErrorBox(const GuiErrorBox&) = delete;
  GuiErrorBox& operator=(const GuiErrorBox&) = delete;

 private:
  // Shared with the installed handler, which a box raised on another thread
  // may still be running when this object goes.
  std::shared_ptr<GuiThreadCall> call_;
  platform::MessageBoxHandler replaced_;
};
