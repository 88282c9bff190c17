// A univariate generator that returns given values in turn, so that a
// multivariate observation can be checked component by component.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "generators/value_uni.h"

class ScriptedValues : public TCValueUni {
 public:
  explicit ScriptedValues(std::vector<double> values) : values_(std::move(values)) {}
  double CValue() override { return values_.at(next_++ % values_.size()); }

 private:
  std::vector<double> values_;
  std::size_t next_ = 0;
};
