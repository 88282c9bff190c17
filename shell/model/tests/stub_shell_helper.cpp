// A calculation library whose helper is a background shell command.
#include <cstdlib>

#include "helper_stub.h"

extern "C" __attribute__((visibility("default"))) int _RunCalcProgram() {
  return RunBesideHelper([] {
    std::system(("sleep " + std::to_string(kHelperSeconds) + " &").c_str());
    return getpgrp();
  });
}
