#include "shell/model/gui_window.h"

GuiWindow::GuiWindow(const std::string& className, QObject* receiver, Handler handler) : call_(receiver) {
  window_ = platform::RegisterWindow(
      className, [this, handler = std::move(handler)](std::uint32_t message, std::uintptr_t wparam,
                                                      std::intptr_t lparam) {
        return call_.Run([handler, message, wparam, lparam] { return handler(message, wparam, lparam); })
            .value_or(0);
      });
}

GuiWindow::~GuiWindow() {
  // Release the waiting senders first: unregistering waits for them to leave.
  call_.Close();
  platform::UnregisterWindow(window_);
}
