// Test helpers for code built on Vector and Matrix: literal construction,
// element-by-element comparison and a capture of what a standard stream
// receives, to check each message and its stream.
#pragma once

#include <gtest/gtest.h>

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

// The size and every element, each within `tolerance` (0: exactly).
inline void ExpectVector(const Vector& v, std::initializer_list<double> expected, double tolerance = 0) {
  ASSERT_EQ(v.Size(), static_cast<std::int32_t>(expected.size()));
  std::int32_t i = 0;
  for (double x : expected) EXPECT_NEAR(v[i++], x, tolerance) << "at " << i - 1;
}

inline void ExpectMatrix(const Matrix& m, std::initializer_list<std::initializer_list<double>> expected,
                         double tolerance = 0) {
  ASSERT_EQ(m.Rows(), static_cast<std::int32_t>(expected.size()));
  std::int32_t i = 0;
  for (const auto& row : expected) {
    SCOPED_TRACE(testing::Message() << "row " << i);
    ASSERT_EQ(m.Cols(), static_cast<std::int32_t>(row.size()));
    ExpectVector(m.Row(i++), row, tolerance);
  }
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
