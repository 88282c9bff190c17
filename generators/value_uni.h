// The abstract random-value interface: every univariate generator of the library
// yields its next value through CValue, drawing from the calling thread's source.
#pragma once

#include <cstdint>

#include "platform/export.h"

class WB_EXPORT TCValueUni {
 public:
  virtual ~TCValueUni();
  // The next value.
  virtual double CValue() = 0;
  // Stores the next value into `value`; the generator advances as by one CValue.
  virtual TCValueUni& operator>>(double& value);
  // The next `count` values, exactly as `count` calls of CValue give them. The
  // library's generators draw them in one loop. Defined here and hidden, so
  // that the slot adds nothing to the library's exports: each caller that
  // derives a generator has its own copy.
  [[gnu::visibility("hidden")]] virtual void CValues(double* values, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) values[i] = CValue();
  }
};
