#include "method/sampler.h"

#include <cmath>

#include "generators/law_draws.h"
#include "generators/uniform_source.h"
#include "generators/univariate.h"
#include "generators/value_biexp.h"
#include "generators/value_rav.h"
#include "method/run_driver.h"
#include "method/run_parameters.h"

namespace {

// 2^32 - 1 steps of the source go one step back.
constexpr std::uint64_t kStepsBack = 0xFFFFFFFFu;

// Seeding runs one step past the seed, so the seed is the state one step back.
void SeedThreadSource(std::uint32_t state) {
  const TCValueRav seeding(static_cast<double>(olvend::LcgJump(state, kStepsBack)), rtSystem);
}

// A copy of the run's generator, as fresh as it is (the tables of what its
// law makes of a draw are the library's, not the generator's).
std::unique_ptr<TCValueUni> CopyGenerator(const RunState& run) {
  const TCValueUni& generator = *run.Generator;
  switch (run.GeneratorKind) {
    case kGeneratorNormal:
      return std::make_unique<TCValueNorm>(static_cast<const TCValueNorm&>(generator));
    case kGeneratorLogistic:
      return std::make_unique<TCValueLog>(static_cast<const TCValueLog&>(generator));
    case kGeneratorLaplace:
      return std::make_unique<TCValueLaplas>(static_cast<const TCValueLaplas&>(generator));
    case kGeneratorCauchy:
      return std::make_unique<TCValueKoshi>(static_cast<const TCValueKoshi&>(generator));
    default:
      return std::make_unique<TCValueBiExp>(static_cast<const TCValueBiExp&>(generator));
  }
}

}  // namespace

std::uint32_t ThreadSourceState() {
  // A draw shows bits 16 to 30 of the state it makes; the sixteen below are
  // found by trying each against the draws that follow until one is left.
  TCValueRav source(rtSystem);  // its own draw is not shown
  auto next_draw = [&source] { return static_cast<int>(std::lround(source.CValue() * 32767.0)); };
  const auto shown = static_cast<std::uint32_t>(next_draw());
  std::vector<std::uint32_t> candidates;
  for (std::uint32_t low = 0; low <= 0xFFFFu; ++low) candidates.push_back(shown << 16 | low);
  std::uint64_t steps = 2;  // from the state asked for to the candidates' state
  while (candidates.size() > 1) {
    const int draw = next_draw();
    ++steps;
    std::size_t kept = 0;
    for (const std::uint32_t candidate : candidates) {
      const std::uint32_t next = olvend::LcgNext(candidate);
      if (olvend::LcgOutput(next) == draw) candidates[kept++] = next;
    }
    candidates.resize(kept);
  }
  const std::uint32_t state = olvend::LcgJump(candidates.front(), (kStepsBack + 1) - steps);
  SeedThreadSource(state);
  return state;
}

Sampler::Sampler(const RunState& run, std::uint32_t first_state)
    : run_(run),
      first_state_(first_state),
      generator_(CopyGenerator(run)),
      multi_(std::make_unique<TCValueMulti>(run.Mean.get(), run.Covariance.get(), generator_.get())),
      rows_(*multi_),
      statistic_(MakeStatistic(run)),
      sample_(static_cast<std::size_t>(run.Dimension()) * static_cast<std::size_t>(run.N)) {}

void Sampler::Draw(std::int64_t first, std::int32_t count, double* values, double* estimates,
                   std::int32_t& drawn) {
  MoveTo(first);
  const std::int32_t size = EstimatesSize(run_);
  olvend::HeldSource source(state_);
  for (drawn = 0; drawn < count; ++drawn) {
    rows_.Draw(source, sample_.data(), run_.N);
    values[drawn] = SampleStatistic(*statistic_, moments_, sample_, run_.Dimension());
    next_value_ += sample_.size();
    if (size > 0) TakeEstimates(run_, moments_, estimates + static_cast<std::ptrdiff_t>(drawn) * size);
  }
}

void Sampler::MoveTo(std::int64_t sample) {
  const std::uint64_t value = static_cast<std::uint64_t>(sample) * sample_.size();
  if (run_.GeneratorKind != kGeneratorNormal) {
    state_ = olvend::LcgJump(first_state_, olvend::kDrawsPerValue * value);
    next_value_ = value;
    return;
  }
  auto& normal = static_cast<TCValueNorm&>(*generator_);
  double dropped = 0.0;
  // After an odd number of values the generator holds a pair's second half;
  // giving it out draws nothing, and the next value starts a pair.
  if (next_value_ % 2 == 1) {
    olvend::HeldSource none(state_);
    normal.CValues(none, &dropped, 1);
  }
  state_ = olvend::LcgJump(first_state_, olvend::kDrawsPerNormalPair * (value / 2));
  // A sample that begins inside a pair: the pair is drawn and its first half,
  // the last value of the sample before, dropped.
  if (value % 2 == 1) {
    olvend::HeldSource source(state_);
    normal.CValues(source, &dropped, 1);
  }
  next_value_ = value;
}
