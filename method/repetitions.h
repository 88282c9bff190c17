// The run's K repetitions: each is drawn on the calling thread and fitted by
// a small pool of threads while the next ones are drawn, since fitting a
// repetition (the null law at each of its M values) often costs more than
// drawing it. What a run leaves is that of drawing, fitting and saving each
// repetition in turn: the same values, the same criteria sums (added in
// repetition order), the same statistics files (written in repetition order),
// and the same progress messages in the same order, also when a repetition
// fails (a step of one repetition is sent only once every repetition before
// it has been fitted and saved).
#pragma once

#include <cstdint>

#include "method/run_state.h"

// Draws, fits and, when asked, saves every repetition of a prepared run with
// its progress reporter made, with a fitting thread for every core but the
// drawing one, at most K. Between its drawing and its settling a repetition
// holds its values; at most one more repetition than there are fitting
// threads is held so. The first failure in the order of the repetitions leaves
// as an exception once no thread works for the run.
void RunRepetitions(RunState& run);

// The same with a given number of fitting threads; with none, each repetition
// is fitted and saved on the calling thread as soon as it is drawn.
void RunRepetitions(RunState& run, std::int32_t fitting_threads);
