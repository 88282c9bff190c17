#include "platform/run_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

using platform::RunFrame;
using platform::RunFrameKind;

// One connected pair of stream sockets; [0] is the shell's end.
struct SocketPair {
  int fd[2];
  SocketPair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fd), 0); }
  ~SocketPair() {
    for (int f : fd) {
      if (f >= 0) close(f);
    }
  }
  int Release(int i) { return std::exchange(fd[i], -1); }
};

TEST(RunChannel, BrokenStreamsGiveNoFrame) {
  const std::string streams[] = {
      std::string("\x09\0\0\0\0\0\0\0", 8),             // an unknown kind
      std::string("\x04\0\0\0\0\0\0\x40", 8),           // a payload over the limit
      std::string("\x04\0\0\0\x08\0\0\0\x01\x02", 10),  // cut short by the writer's end
  };
  for (const std::string& bytes : streams) {
    SocketPair pair;
    ASSERT_EQ(write(pair.fd[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(pair.Release(1));
    EXPECT_FALSE(platform::ReadRunFrame(pair.fd[0]));
  }
  EXPECT_FALSE(platform::DecodeNumber(RunFrame{RunFrameKind::Answer, "short"}));
  EXPECT_FALSE(platform::DecodeWindowMessage(RunFrame{RunFrameKind::Answer, std::string(20, 'x')}));
}

// The test plays the shell: it answers each window message with wparam + lparam.
TEST(RunChannel, TheRunHostsWindowMessagesAndErrorBoxesAreAnsweredByTheShell) {
  SocketPair pair;
  std::vector<std::string> boxes;
  std::int64_t returned = -1;
  std::thread shell([&] {
    while (auto frame = platform::ReadRunFrame(pair.fd[0])) {
      std::int64_t answer = 0;
      if (frame->kind == RunFrameKind::EntryReturned) {
        returned = platform::DecodeNumber(*frame).value_or(-2);
        continue;
      }
      if (frame->kind == RunFrameKind::ErrorBox) boxes.push_back(frame->payload);
      if (auto message = platform::DecodeWindowMessage(*frame)) {
        EXPECT_EQ(message->class_name, "TWMain");
        answer = static_cast<std::int64_t>(message->wparam) + message->lparam;
      }
      platform::WriteRunFrame(pair.fd[0], platform::EncodeNumber(RunFrameKind::Answer, answer));
    }
  });
  {
    platform::RunChannelClient client(pair.Release(1));
    client.ProxyWindow("TWMain");
    client.ForwardErrorBoxes();
    auto window = platform::FindWindowByClass("TWMain");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::SendWindowMessage(window, 0x400, 1000, -50), 950);
    platform::ShowErrorBox("Cannot open file Parameters.dat");
    client.ReportEntryReturned(1);
  }
  shell.join();
  EXPECT_EQ(boxes, std::vector<std::string>{"Cannot open file Parameters.dat"});
  EXPECT_EQ(returned, 1);
  // The client has gone: the window and the error box are the process's own again.
  EXPECT_EQ(platform::FindWindowByClass("TWMain"), nullptr);
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("x");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "x\n");
}

TEST(RunChannelDeathTest, ARunHostWhoseShellHasGoneEnds) {
  EXPECT_EXIT(
      {
        SocketPair pair;
        close(pair.Release(0));
        platform::RunChannelClient client(pair.Release(1));
        client.ForwardErrorBoxes();
        platform::ShowErrorBox("nobody reads this");
      },
      testing::ExitedWithCode(3), "");
}

}  // namespace
