// Drawing a run's samples from any sample on. Every law draws a fixed number
// of the source's values per value (generators/law_draws.h: two; the normal
// law three per pair of values, the second of a pair from the kept half), so
// the source's state at the start of any sample follows from its state at the
// start of the run by jumping ahead, and the normal generator's pair from
// whether an odd number of values came before. A thread with a sampler of its
// own, which holds that state itself, can so draw any block of samples with
// the values a run in turn gives them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "generators/bulk_draw.h"
#include "generators/value_multi.h"
#include "generators/value_uni.h"
#include "method/run_state.h"
#include "method/sample_moments.h"
#include "method/statistic.h"

// The calling thread's source state, read from its draws and then set back,
// so that the thread's draws go on as if it had not been read. Only the top
// bit stays unknown, and no draw ever shows it: either value gives the same
// draws.
std::uint32_t ThreadSourceState();

class Sampler {
 public:
  // A generator (a copy of the run's, which the run has not drawn from), a
  // multivariate generator and a statistic of its own on the run's
  // parameters; `first_state` is the source's state before the run's first
  // draw.
  Sampler(const RunState& run, std::uint32_t first_state);
  Sampler(const Sampler&) = delete;
  Sampler& operator=(const Sampler&) = delete;

  // Draws `count` samples of the run from sample `first` (counted from 0 over
  // every repetition) on the calling thread, whose source it seeds: their
  // statistics into values, their estimates (EstimatesSize doubles each) into
  // estimates. `drawn` counts the samples done, also when one throws.
  void Draw(std::int64_t first, std::int32_t count, double* values, double* estimates, std::int32_t& drawn);

 private:
  void MoveTo(std::int64_t sample);

  const RunState& run_;
  std::uint32_t first_state_;
  std::unique_ptr<TCValueUni> generator_;
  std::unique_ptr<TCValueMulti> multi_;
  olvend::ObservationRows rows_;
  std::uint32_t state_ = 0;  // the source's state before the generator's next value
  std::unique_ptr<TCStatistic> statistic_;
  SampleMoments moments_;
  std::vector<double> sample_;
  std::uint64_t next_value_ = 0;  // the run's value that the generator gives next
};
