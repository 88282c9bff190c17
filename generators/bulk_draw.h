// Many values of a generator at once, for a caller that draws whole samples.
// The generator objects hold only their interface's fields, so what drawing in
// bulk needs beyond them (plain copies of the factor and the mean, a buffer
// of the generator's values) is the caller's own state, and the loops are
// compiled into the caller from this header: the library exports nothing for
// them. The draws come from a source the caller holds (uniform_source.h), so
// a caller that knows where in the source's sequence a sample starts can draw
// it on any thread.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <typeinfo>
#include <vector>

#include "generators/univariate.h"
#include "generators/value_biexp.h"
#include "generators/value_multi.h"
#include "generators/value_uni.h"

namespace olvend {

enum class Law { kNormal, kLogistic, kLaplace, kCauchy, kExpPower, kOther };

// The law of a generator of the library's own classes, by its exact type (a
// derived class may have a CValue of its own); kOther for any other class.
inline Law LawOf(const TCValueUni& generator) {
  const std::type_info& type = typeid(generator);
  if (type == typeid(TCValueNorm)) return Law::kNormal;
  if (type == typeid(TCValueLog)) return Law::kLogistic;
  if (type == typeid(TCValueLaplas)) return Law::kLaplace;
  if (type == typeid(TCValueKoshi)) return Law::kCauchy;
  if (type == typeid(TCValueBiExp)) return Law::kExpPower;
  return Law::kOther;
}

// Writes `count` values of the generator, whose law is `law`, into `values`:
// the values, and the draws in their order, of `count` calls of its CValue,
// taken from `source`. A generator of another class knows nothing of
// `source` and draws through CValue, from the calling thread's source.
template <class Source>
void DrawValues(Law law, TCValueUni& generator, Source& source, double* values, std::int32_t count) {
  switch (law) {
    case Law::kNormal:
      return static_cast<TCValueNorm&>(generator).CValues(source, values, count);
    case Law::kLogistic:
      return static_cast<TCValueLog&>(generator).CValues(source, values, count);
    case Law::kLaplace:
      return static_cast<TCValueLaplas&>(generator).CValues(source, values, count);
    case Law::kCauchy:
      return static_cast<TCValueKoshi&>(generator).CValues(source, values, count);
    case Law::kExpPower:
      return static_cast<TCValueBiExp&>(generator).CValues(source, values, count);
    case Law::kOther:
      for (std::int32_t i = 0; i < count; ++i) values[i] = generator.CValue();
  }
}

// Observations of a multivariate generator into plain rows. One per thread
// that draws; the multivariate generator and its univariate generator must
// outlive it and are drawn from by nobody else meanwhile.
class ObservationRows {
 public:
  explicit ObservationRows(const TCValueMulti& multi)
      : n_(multi.dimension_), generator_(multi.generator_), law_(LawOf(*multi.generator_)) {
    const auto n = static_cast<std::size_t>(n_);
    factor_.resize(n * n);
    mean_.resize(n);
    for (std::int32_t i = 0; i < n_; ++i) {
      mean_[static_cast<std::size_t>(i)] = (*multi.mean_)[i];
      for (std::int32_t j = 0; j < n_; ++j)
        factor_[static_cast<std::size_t>(i) * n + j] = (*multi.factor_)[i][j];
    }
  }

  // `count` observations into n rows of `count` values (component b of
  // observation s at rows[b * count + s]): the values, and the draws in their
  // order, of `count` calls of CValueMulti. A large sample is drawn a slice of
  // observations at a time, so that the generator's values are never held
  // beside the whole sample.
  template <class Source>
  void Draw(Source& source, double* rows, std::int32_t count) {
    const std::int32_t n = n_;
    const std::int32_t slice = std::max<std::int32_t>(kSliceValues / n, 1);
    draws_.resize(static_cast<std::size_t>(std::min(count, slice)) * static_cast<std::size_t>(n));
    for (std::int64_t first = 0; first < count; first += slice) {
      const auto part = static_cast<std::int32_t>(std::min<std::int64_t>(slice, count - first));
      DrawValues(law_, *generator_, source, draws_.data(), part * n);
      for (std::int32_t s = 0; s < part; ++s) {
        const double* z = draws_.data() + static_cast<std::ptrdiff_t>(s) * n;
        for (std::int32_t i = 0; i < n; ++i) {
          // Row i of L times z as the vector product sums it: from 0.0, every
          // column in order, the zeros above the diagonal too (0 times an
          // infinite value is not 0).
          const double* row = factor_.data() + static_cast<std::ptrdiff_t>(i) * n;
          double sum = 0.0;
          for (std::int32_t c = 0; c < n; ++c) sum += z[c] * row[c];
          rows[static_cast<std::ptrdiff_t>(i) * count + first + s] = sum + mean_[static_cast<std::size_t>(i)];
        }
      }
    }
  }

 private:
  // The generator's values held at once, at most (or one observation's).
  static constexpr std::int32_t kSliceValues = 1 << 16;

  std::int32_t n_;
  TCValueUni* generator_;
  Law law_;
  std::vector<double> factor_;  // n x n, row by row
  std::vector<double> mean_;
  std::vector<double> draws_;  // the generator's values of the observations being made
};

}  // namespace olvend
