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

TEST(RunChannel, FramesAndTheirPayloadsSurviveTheTrip) {
  SocketPair pair;
  const platform::WindowMessageRequest sent{"TWMain", 0x400, 1000, -50};
  ASSERT_TRUE(platform::WriteRunFrame(pair.fd[1], platform::EncodeWindowMessage(sent)));
  ASSERT_TRUE(platform::WriteRunFrame(pair.fd[1], platform::EncodeNumber(RunFrameKind::EntryReturned, 1)));

  const auto first = platform::ReadRunFrame(pair.fd[0]);
  ASSERT_TRUE(first);
  const auto request = platform::DecodeWindowMessage(*first);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->class_name, "TWMain");
  EXPECT_EQ(request->message, 0x400u);
  EXPECT_EQ(request->wparam, 1000u);
  EXPECT_EQ(request->lparam, -50);

  const auto second = platform::ReadRunFrame(pair.fd[0]);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->kind, RunFrameKind::EntryReturned);
  EXPECT_EQ(platform::DecodeNumber(*second), 1);
}

TEST(RunChannel, BrokenStreamsGiveNoFrame) {
  {
    SocketPair pair;
    const char unknown_kind[8] = {9, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(write(pair.fd[1], unknown_kind, 8), 8);
    EXPECT_FALSE(platform::ReadRunFrame(pair.fd[0]));
  }
  {
    SocketPair pair;
    const char huge[8] = {4, 0, 0, 0, 0, 0, 0, 0x40};
    ASSERT_EQ(write(pair.fd[1], huge, 8), 8);
    EXPECT_FALSE(platform::ReadRunFrame(pair.fd[0]));
  }
  {
    SocketPair pair;  // a frame cut short by the writer's end
    const char cut[10] = {4, 0, 0, 0, 8, 0, 0, 0, 1, 2};
    ASSERT_EQ(write(pair.fd[1], cut, 10), 10);
    close(pair.Release(1));
    EXPECT_FALSE(platform::ReadRunFrame(pair.fd[0]));
  }
  EXPECT_FALSE(platform::DecodeNumber(RunFrame{RunFrameKind::Answer, "short"}));
  EXPECT_FALSE(platform::DecodeWindowMessage(RunFrame{RunFrameKind::Answer, std::string(20, 'x')}));
}

TEST(RunChannel, TheRunHostsWindowMessagesAndErrorBoxesAreAnsweredByTheShell) {
  SocketPair pair;
  std::vector<std::string> boxes;
  std::thread shell([&] {
    while (auto frame = platform::ReadRunFrame(pair.fd[0])) {
      if (frame->kind == RunFrameKind::ErrorBox) {
        boxes.push_back(frame->payload);
        platform::WriteRunFrame(pair.fd[0], platform::EncodeNumber(RunFrameKind::Answer, 0));
      } else if (auto message = platform::DecodeWindowMessage(*frame)) {
        const auto answer = static_cast<std::int64_t>(message->wparam) + message->lparam;
        platform::WriteRunFrame(pair.fd[0], platform::EncodeNumber(RunFrameKind::Answer, answer));
      } else {
        EXPECT_EQ(frame->kind, RunFrameKind::EntryReturned);
        EXPECT_EQ(platform::DecodeNumber(*frame), 1);
      }
    }
  });
  {
    platform::RunChannelClient client(pair.Release(1));
    client.ProxyWindow("TWMain");
    client.ForwardErrorBoxes();
    auto window = platform::FindWindowByClass("TWMain");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::SendWindowMessage(window, 0x400, 1000, 50), 1050);
    platform::ShowErrorBox("Cannot open file Parameters.dat");
    client.ReportEntryReturned(1);
  }
  shell.join();
  EXPECT_EQ(boxes, std::vector<std::string>{"Cannot open file Parameters.dat"});
  // The client has gone: the window and the box handler are the process's own again.
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
