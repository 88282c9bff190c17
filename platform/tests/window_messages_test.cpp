#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using platform::FindWindowByClass;
using platform::RegisterWindow;
using platform::SendWindowMessage;
using platform::UnregisterWindow;

TEST(WindowMessages, ASendReachesTheNewestWindowOfTheClassAndReturnsItsAnswer) {
  EXPECT_EQ(FindWindowByClass("TWTest"), nullptr);
  std::vector<std::uint32_t> seen;
  auto first = RegisterWindow("TWTest", [](auto, auto, auto) { return std::intptr_t{1}; });
  auto window = RegisterWindow("TWTest", [&](std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
    seen.push_back(msg);
    return static_cast<std::intptr_t>(w + l);
  });
  ASSERT_EQ(FindWindowByClass("TWTest"), window);
  EXPECT_EQ(SendWindowMessage(window, platform::kWmUser, 1000, 50), 1050);
  EXPECT_EQ(seen, std::vector<std::uint32_t>{0x400});
  UnregisterWindow(window);
  EXPECT_EQ(FindWindowByClass("TWTest"), first);
  UnregisterWindow(first);
  EXPECT_EQ(FindWindowByClass("TWTest"), nullptr);
  // A send to an unregistered window is dropped.
  EXPECT_EQ(SendWindowMessage(window, 0x401, 0, 0), 0);
  EXPECT_EQ(seen.size(), 1u);
}

TEST(WindowMessages, UnregisterWaitsForASendInProgress) {
  std::atomic<bool> inside{false};
  std::atomic<bool> finished{false};
  auto window = RegisterWindow("TWSlow", [&](auto, auto, auto) {
    inside = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    finished = true;
    return std::intptr_t{0};
  });
  std::thread sender([&] { SendWindowMessage(window, 0x401, 0, 0); });
  while (!inside) std::this_thread::yield();
  UnregisterWindow(window);
  EXPECT_TRUE(finished);
  sender.join();
}

}  // namespace
