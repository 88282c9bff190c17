// The run's K repetitions on every core: the samples are drawn in blocks by
// all threads at once (each block from the source's state at its first
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

// Draws, fits and, when asked, saves every repetition of a prepared run with
// its progress reporter made, on the calling thread and one more thread for
// every further core. The first failure in the order of the repetitions
// leaves as an exception once no thread works for the run.
void RunRepetitions(RunState& run);

// The same with a given number of threads besides the calling one; with none,
// everything happens on the calling thread, one repetition after another.
// `peak_bytes`, when given, receives the most bytes of values the run held at
// once (see ValuesInFlightBound).
void RunRepetitions(RunState& run, std::int32_t helper_threads, std::size_t* peak_bytes = nullptr);

// The most bytes of values a run of `threads` threads in all holds at once:
// what a run in turn holds at its peak (a repetition's statistic values and,
// while they are sorted, a buffer as large) and two repetitions' values more,
// or a megabyte when that is more, sample estimates that wait for their turn
// to be added included, and beyond that at most one block's estimates. It
// does not grow with the number of threads.
std::size_t ValuesInFlightBound(const RunState& run, std::int32_t threads);
