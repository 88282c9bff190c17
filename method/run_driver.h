// The steps of a run, in calling order: read the block, prepare, then per
// repetition draw the samples (see RunRepetitions), fit the criteria and save
// the values, and at the end release what the run made. Every step works on
// the run state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "method/run_state.h"
#include "method/sample_moments.h"

// Reads and checks the parameter block; throws EFOpenError when the file
// cannot be opened or read, Exception, naming the field, for a block that
// is cut, corrupt or breaks what the method needs, and EOutOfMemory when the
// memory left could not hold a run of it in turn. Nothing of the state
// changes then.
void ReadParameters(RunState& run, const std::string& file_name);

// Builds the statistic, its null distribution and the generators.
void PrepareRun(RunState& run);

// The run's statistic as PrepareRun makes it; a thread that draws samples of
// its own makes its own.
std::unique_ptr<TCStatistic> MakeStatistic(const RunState& run);

// The statistic of a sample of p rows of N values; `moments` then hold the
// sample's.
double SampleStatistic(TCStatistic& statistic, SampleMoments& moments, const std::vector<double>& sample,
                       std::int32_t p);

// A sample's estimates as the run adds them up: its mean when the block asks
// for the mean, then the lower triangle of its covariance, row by row, when it
// asks for the covariance. EstimatesSize doubles; 0 when it asks for neither.
std::int32_t EstimatesSize(const RunState& run);
void TakeEstimates(const RunState& run, SampleMoments& moments, double* estimates);
// Adds a sample's estimates to the run's sums, as the samples come in turn:
// the sums depend on the order of the calls.
void AddEstimates(RunState& run, const double* estimates);

// Sorts a repetition's values and gives their criteria, reading only the
// run's M and null distribution, so that several repetitions may be fitted
// at once while the next is drawn.
CritVA FitValues(const RunState& run, std::vector<double>& values);
// Copies repetition 0's criteria into run.Criteria and adds every later
// repetition's field by field; the sums depend on the order of the calls.
void AddCriteria(RunState& run, std::int32_t k, const CritVA& criteria);

// Releases every object the run has made (those that exist), generators
// first; the progress reporter is the entry's to end.
void FreeRunObjects(RunState& run);

// The default progress step for `total` samples: one twentieth, at least 1 so
// that a short run still fills the gauge.
std::int64_t ProgressStep(std::int64_t total);

// Each criterion of the record, for work over all twelve fields.
inline constexpr double CritVA::*kCriteriaFields[] = {
    &CritVA::KolmStat,  &CritVA::KolmP,  &CritVA::SmirnStat,    &CritVA::SmirnP,
    &CritVA::OmegaStat, &CritVA::OmegaP, &CritVA::BigOmegaStat, &CritVA::BigOmegaP,
    &CritVA::ChiStat,   &CritVA::ChiP,   &CritVA::LRStat,       &CritVA::LRP};
