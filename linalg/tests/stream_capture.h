// Collects what a standard stream receives while the capture lives, so tests can
// check each message and the stream it went to.
#pragma once

#include <ostream>
#include <sstream>
#include <string>

class StreamCapture {
public:
  explicit StreamCapture(std::ostream& stream) : stream_(stream), saved_(stream.rdbuf(text_.rdbuf())) {}
  ~StreamCapture() { stream_.rdbuf(saved_); }
  StreamCapture(const StreamCapture&) = delete;
  StreamCapture& operator=(const StreamCapture&) = delete;

  std::string Text() const { return text_.str(); }

private:
  std::ostream& stream_;
  std::ostringstream text_;
  std::streambuf* saved_;
};
