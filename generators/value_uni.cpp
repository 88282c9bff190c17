#include "generators/value_uni.h"

TCValueUni::~TCValueUni() = default;

TCValueUni& TCValueUni::operator>>(double& value) {
  value = CValue();
  return *this;
}
