// The channel between the shell and the run host, the child process in which
// a calculation library runs. The library's window messages and error boxes
// travel to the shell as requests, each answered before the library goes on,
// so the library sees them as synchronous as in one process; the end of the
// library's entry is reported last. The names of the library's temporary
// files go to the shell as they are made and gone, so that the shell removes
// what a run that it ended has left of them.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/export.h"
#include "platform/message_box.h"
#include "platform/temporary_files.h"
#include "platform/window_messages.h"

namespace platform {

enum class RunFrameKind : std::uint32_t {
  WindowMessage = 1,  // run host asks: a message to a window of the shell
  ErrorBox = 2,       // run host asks: show an error box and wait until it is closed
  EntryReturned = 3,  // run host tells: the entry returned this result
  Answer = 4,         // shell answers a request
  TemporaryMade = 5,  // run host tells: it is about to make this file, which must not outlive the run
  TemporaryGone = 6,  // run host tells: the file it made is gone
};

struct RunFrame {
  RunFrameKind kind;
  std::string payload;
};

// Whole frames over a stream socket. Writing fails (false) and reading gives
// nothing when the other end has gone or the stream is malformed.
WB_EXPORT bool WriteRunFrame(int fd, const RunFrame& frame);
WB_EXPORT std::optional<RunFrame> ReadRunFrame(int fd);

struct WindowMessageRequest {
  std::string class_name;
  std::uint32_t message = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
};

WB_EXPORT RunFrame EncodeWindowMessage(const WindowMessageRequest& request);
WB_EXPORT std::optional<WindowMessageRequest> DecodeWindowMessage(const RunFrame& frame);

// Frames that carry one number: an answer or the entry's result.
WB_EXPORT RunFrame EncodeNumber(RunFrameKind kind, std::int64_t value);
WB_EXPORT std::optional<std::int64_t> DecodeNumber(const RunFrame& frame);

// The run host's end of the channel. A run host whose shell has gone has
// nobody to report to, so a request that gets no answer ends the process.
class WB_EXPORT RunChannelClient {
 public:
  // Takes the descriptor over and keeps it from the programs this process starts.
  explicit RunChannelClient(int fd);
  ~RunChannelClient();
  RunChannelClient(const RunChannelClient&) = delete;
  RunChannelClient& operator=(const RunChannelClient&) = delete;

  // Registers a window of that class whose messages are answered by the shell.
  void ProxyWindow(const std::string& class_name);

  // Sends every error box of this process to the shell.
  void ForwardErrorBoxes();

  // Tells the shell of every temporary file this process makes and removes,
  // by its absolute path.
  void ForwardTemporaryFiles();

  void ReportEntryReturned(int result);

 private:
  std::int64_t Ask(const RunFrame& request);
  void Tell(const RunFrame& news);

  int fd_;
  std::mutex request_mutex_;
  std::vector<WindowHandle> windows_;
  std::optional<MessageBoxHandler> replaced_box_handler_;
  std::optional<TemporaryFileHandler> replaced_temporary_handler_;
};

}  // namespace platform
