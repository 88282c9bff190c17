#include "platform/window_messages.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

struct WindowEntry {
  std::string class_name;
  WindowDispatch dispatch;
  int sends_in_flight = 0;
  bool registered = true;
};

namespace {

std::mutex table_mutex;
std::condition_variable sends_done;
std::vector<std::unique_ptr<WindowEntry>> table;

auto FindEntry(WindowHandle window) {
  return std::find_if(table.begin(), table.end(),
                      [window](const auto& entry) { return entry.get() == window; });
}

}  // namespace

WindowHandle RegisterWindow(const std::string& class_name, WindowDispatch dispatch) {
  std::lock_guard lock(table_mutex);
  table.push_back(std::make_unique<WindowEntry>(WindowEntry{class_name, std::move(dispatch)}));
  return table.back().get();
}

void UnregisterWindow(WindowHandle window) {
  std::unique_lock lock(table_mutex);
  auto it = FindEntry(window);
  if (it == table.end()) return;
  (*it)->registered = false;
  sends_done.wait(lock, [window] { return window->sends_in_flight == 0; });
  table.erase(FindEntry(window));
}

WindowHandle FindWindowByClass(const std::string& class_name) {
  std::lock_guard lock(table_mutex);
  for (auto it = table.rbegin(); it != table.rend(); ++it) {
    if ((*it)->registered && (*it)->class_name == class_name) return it->get();
  }
  return nullptr;
}

std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                                std::intptr_t lparam) {
  WindowDispatch dispatch;
  {
    std::lock_guard lock(table_mutex);
    auto it = FindEntry(window);
    if (it == table.end() || !(*it)->registered) return 0;
    ++window->sends_in_flight;
    dispatch = window->dispatch;
  }
  // The dispatch runs without the table lock: it may block on another thread
  // that itself looks windows up.
  std::intptr_t result = 0;
  try {
    result = dispatch(message, wparam, lparam);
  } catch (...) {
    std::lock_guard lock(table_mutex);
    --window->sends_in_flight;
    sends_done.notify_all();
    throw;
  }
  std::lock_guard lock(table_mutex);
  --window->sends_in_flight;
  sends_done.notify_all();
  return result;
}

}  // namespace platform
