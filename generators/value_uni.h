// The abstract random-value interface: every univariate generator of the library
// yields its next value through CValue, drawing from the calling thread's source.
// Its table of virtual operations is exactly these three, in this order: a
// generator compiled elsewhere against them is called through no other slot.
#pragma once

#include "platform/export.h"

class WB_EXPORT TCValueUni {
 public:
  virtual ~TCValueUni();
  // The next value.
  virtual double CValue() = 0;
  // Stores the next value into `value`; the generator advances as by one CValue.
  virtual TCValueUni& operator>>(double& value);
};
