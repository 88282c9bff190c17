// The parameter block's bytes ("Parameters.dat"): little-endian, packed, the
// fields one after another in their order, each optional field present
// exactly when the kinds read before it say so. The one encoder and decoder
// of the block, shared by the method library and the parameter editor.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "method/run_parameters.h"

namespace platform {
class SequentialReader;
}

// The longest block the layout allows: every optional field present, the
// largest dimension its signed 16-bit count gives and the longest path. A
// longer "Parameters.dat" is refused before it is read.
constexpr std::uint64_t kMaxBlockBytes = [] {
  constexpr std::uint64_t p = std::numeric_limits<std::int16_t>::max();
  constexpr std::uint64_t mean_and_covariance = 8 * (p + p * (p + 1) / 2);
  constexpr std::uint64_t fixed_fields = 37;
  constexpr std::uint64_t largest_test_kind_group = 20;
  constexpr std::uint64_t gen_param3 = 4;
  constexpr std::uint64_t path = 4 + kMaxStatisticsPathLength;
  return fixed_fields + largest_test_kind_group + gen_param3 + path + 2 * mean_and_covariance;
}();

// The block's bytes. Throws EConvertError for parameters that no block can
// carry: a test kind outside 1..7, a generator kind outside 1..5, a
// dimension below 1, vectors or triangles whose sizes do not match the
// dimension, or a statistics path longer than 260 bytes.
std::string EncodeRunParameters(const RunParameters& parameters);

// The fields of a block. Throws EReadError, with a message that names the
// field, for a block that ends inside a field, a test kind outside 1..7 or a
// generator kind outside 1..5 (as signed bytes), a dimension below 1, a
// statistics path length outside 0..260, or bytes after the last field. The
// values are not checked against what the method needs (CheckRunParameters).
RunParameters DecodeRunParameters(std::string_view block);
// The same read field by field from a file: a field that cannot be is
// refused before the bytes it announces are read.
RunParameters DecodeRunParameters(platform::SequentialReader& source);
