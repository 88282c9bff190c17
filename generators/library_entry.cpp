// The library's start-up: whichever thread loads the library has its uniform
// source seeded with 1, as every run of the system expects.
#include "generators/uniform_source.h"

namespace {

__attribute__((constructor)) void SeedLoadingThread() { olvend::srand(1); }

}  // namespace
