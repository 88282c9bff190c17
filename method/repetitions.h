// The run's K repetitions, each drawn on the calling thread and fitted on a
// thread of its own while the next one is drawn. What a run leaves is that of
// drawing, fitting and saving each repetition in turn: the same values, the
// same criteria sums, the same files, and the same progress messages in the
// same order, also when a repetition fails (a step of one repetition is sent
// only once the repetition before has been fitted and saved).
#pragma once

#include "method/run_state.h"

// Draws, fits and, when asked, saves every repetition of a prepared run with
// its progress reporter made. Quessel is called from the one fitting thread
// alone, one repetition after another. The first failure in the order of the
// repetitions leaves as an exception once no thread works for the run.
void RunRepetitions(RunState& run);
