// A window of a given class (such as "TWMain") whose messages are handled on
// the GUI thread: a send from another thread blocks until the handler has
// answered, a send on the GUI thread calls it directly.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/window_messages.h"
#include "shell/model/gui_thread_call.h"

class GuiWindow {
 public:
  using Handler =
      std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam)>;

  // Registers the class; the handler runs on the receiver's thread, which
  // must be the thread that constructs and destroys this object.
  GuiWindow(const std::string& className, QObject* receiver, Handler handler);
  // Senders still waiting get 0; later sends find no window.
  ~GuiWindow();
  GuiWindow(const GuiWindow&) = delete;
  GuiWindow& operator=(const GuiWindow&) = delete;

 private:
  GuiThreadCall call_;
  platform::WindowHandle window_;
};
