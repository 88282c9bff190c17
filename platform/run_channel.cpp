#include "platform/run_channel.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace platform {
namespace {

// No request of ours comes near this; a larger header means a broken stream.
constexpr std::uint32_t kMaxPayload = 1u << 20;

// The run host ends with this status when its shell has gone.
constexpr int kShellGoneStatus = 3;

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = send(fd, data, size, MSG_NOSIGNAL);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t got = read(fd, data, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

template <typename T>
void Append(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

template <typename T>
bool Take(std::string_view& in, T& value) {
  if (in.size() < sizeof(T)) return false;
  std::memcpy(&value, in.data(), sizeof(T));
  in.remove_prefix(sizeof(T));
  return true;
}

}  // namespace

bool WriteRunFrame(int fd, const RunFrame& frame) {
  if (frame.payload.size() > kMaxPayload) return false;
  std::string bytes;
  Append(bytes, static_cast<std::uint32_t>(frame.kind));
  Append(bytes, static_cast<std::uint32_t>(frame.payload.size()));
  bytes += frame.payload;
  return WriteAll(fd, bytes.data(), bytes.size());
}

std::optional<RunFrame> ReadRunFrame(int fd) {
  char header[8];
  if (!ReadAll(fd, header, sizeof header)) return std::nullopt;
  std::uint32_t kind;
  std::uint32_t size;
  std::memcpy(&kind, header, 4);
  std::memcpy(&size, header + 4, 4);
  if (kind < 1 || kind > 6 || size > kMaxPayload) return std::nullopt;
  RunFrame frame{static_cast<RunFrameKind>(kind), std::string(size, '\0')};
  if (!ReadAll(fd, frame.payload.data(), size)) return std::nullopt;
  return frame;
}

RunFrame EncodeWindowMessage(const WindowMessageRequest& request) {
  RunFrame frame{RunFrameKind::WindowMessage, {}};
  Append(frame.payload, request.message);
  Append(frame.payload, static_cast<std::uint64_t>(request.wparam));
  Append(frame.payload, static_cast<std::int64_t>(request.lparam));
  frame.payload += request.class_name;
  return frame;
}

std::optional<WindowMessageRequest> DecodeWindowMessage(const RunFrame& frame) {
  if (frame.kind != RunFrameKind::WindowMessage) return std::nullopt;
  std::string_view in(frame.payload);
  WindowMessageRequest request;
  std::uint64_t wparam;
  std::int64_t lparam;
  if (!Take(in, request.message) || !Take(in, wparam) || !Take(in, lparam)) return std::nullopt;
  request.wparam = static_cast<std::uintptr_t>(wparam);
  request.lparam = static_cast<std::intptr_t>(lparam);
  request.class_name = std::string(in);
  return request;
}

RunFrame EncodeNumber(RunFrameKind kind, std::int64_t value) {
  RunFrame frame{kind, {}};
  Append(frame.payload, value);
  return frame;
}

std::optional<std::int64_t> DecodeNumber(const RunFrame& frame) {
  std::string_view in(frame.payload);
  std::int64_t value;
  if (!Take(in, value) || !in.empty()) return std::nullopt;
  return value;
}

RunChannelClient::RunChannelClient(int fd) : fd_(fd) {
  // The descriptor came over an exec; no program this process starts may
  // hold the channel in its turn.
  fcntl(fd_, F_SETFD, FD_CLOEXEC);
}

RunChannelClient::~RunChannelClient() {
  if (replaced_box_handler_) SetMessageBoxHandler(*replaced_box_handler_);
  if (replaced_temporary_handler_) SetTemporaryFileHandler(*replaced_temporary_handler_);
  for (WindowHandle window : windows_) UnregisterWindow(window);
  close(fd_);
}

void RunChannelClient::ProxyWindow(const std::string& class_name) {
  windows_.push_back(RegisterWindow(
      class_name, [this, class_name](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
        return static_cast<std::intptr_t>(Ask(EncodeWindowMessage({class_name, message, wparam, lparam})));
      }));
}

void RunChannelClient::ForwardErrorBoxes() {
  replaced_box_handler_ = SetMessageBoxHandler([this](const std::string& text) {
    Ask(RunFrame{RunFrameKind::ErrorBox, text});
  });
}

void RunChannelClient::ForwardTemporaryFiles() {
  replaced_temporary_handler_ = SetTemporaryFileHandler([this](const std::string& path, bool made) {
    // The shell's current folder is not the run's.
    std::error_code ignored;
    Tell(RunFrame{made ? RunFrameKind::TemporaryMade : RunFrameKind::TemporaryGone,
                  std::filesystem::absolute(path, ignored).string()});
  });
}

void RunChannelClient::ReportEntryReturned(int result) {
  Tell(EncodeNumber(RunFrameKind::EntryReturned, result));
}

// Written before the caller goes on, so that news of a file to be made
// reaches the shell even when the run is ended right after.
void RunChannelClient::Tell(const RunFrame& news) {
  std::lock_guard lock(request_mutex_);
  if (!WriteRunFrame(fd_, news)) std::_Exit(kShellGoneStatus);
}

std::int64_t RunChannelClient::Ask(const RunFrame& request) {
  std::lock_guard lock(request_mutex_);
  if (WriteRunFrame(fd_, request)) {
    const auto answer = ReadRunFrame(fd_);
    if (answer && answer->kind == RunFrameKind::Answer) {
      if (const auto value = DecodeNumber(*answer)) return *value;
    }
  }
  std::_Exit(kShellGoneStatus);
}

}  // namespace platform
