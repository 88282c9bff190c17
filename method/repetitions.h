// The run's K repetitions on the cores it may use: the samples are drawn in
// blocks by all threads at once (each block from the source's state at its first
// sample), and each repetition, once drawn, is fitted by one of them. What a
// run leaves is that of drawing, fitting and saving each repetition in turn:
// the same values, the same criteria and estimate sums (added in the order of
// the repetitions and of the samples), the same statistics files (written in
// repetition order), and the same progress messages in the same order, also
// when the run fails. A progress step goes out as soon as its sample is drawn
// and every repetition before its own is fitted and saved, sent by whichever
// thread finds it due.
#pragma once

#include <cstddef>
#include <cstdint>

#include "method/run_state.h"

// How a run shares its repetitions out among its threads.
struct RepetitionPlan {
  std::int32_t threads = 1;                // drawing threads in all, the calling one included
  std::int64_t block_samples = 1;          // samples of a block; the last of a repetition may hold fewer
  std::int64_t blocks_per_repetition = 1;  // M / block_samples, rounded up
  std::int64_t progress_step = 1;          // ProgressStep of the run's K * M samples
  std::size_t values_budget = 0;           // bytes of values the threads hold at once
};

// The plan for at most `processors` threads with `available` bytes of memory
// left beside the run's objects, each thread beyond the first taking
// `stack_bytes` more than it allocates. Each thread beyond the first holds a
// sample of its own, so they hold together at most one sample more than a
// run in turn, or 64 MiB when that is more: a run of large samples gets
// fewer threads, and so does one whose threads' samples and stacks would not
// fit. Beyond that, the values of two repetitions more are held while the
// next one is drawn, if they fit.
RepetitionPlan PlanRepetitions(const RunState& run, std::int32_t processors, std::uint64_t available,
                               std::uint64_t stack_bytes);

// Draws, fits and, when asked, saves every repetition of a prepared run with
// its progress reporter made, on the calling thread and one more thread for
// every further processor that the process may run on and its memory allows.
// The first failure in the order of the repetitions leaves as an exception
// once no thread works for the run.
void RunRepetitions(RunState& run);

// The same by the given plan; with one thread everything happens on the
// calling thread, one repetition after another. Gives the most bytes of
// values the run held at once.
std::size_t RunRepetitions(RunState& run, const RepetitionPlan& plan);
