// Test helpers for code built on Vector and Matrix: literal construction and a
// capture of what a standard stream receives, to check each message and its stream.
#pragma once

#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>

#include "linalg/matrix.h"
#include "linalg/vector.h"

inline Vector MakeVector(std::initializer_list<double> values) {
  Vector v(static_cast<std::int32_t>(values.size()));
  std::int32_t i = 0;
  for (double x : values) v[i++] = x;
  return v;
}

inline Matrix MakeMatrix(std::initializer_list<std::initializer_list<double>> rows) {
  Matrix m(static_cast<std::int32_t>(rows.size()), static_cast<std::int32_t>(rows.begin()->size()), 0.0);
  std::int32_t i = 0;
  for (const auto& row : rows) m[i++] = MakeVector(row);
  return m;
}

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
