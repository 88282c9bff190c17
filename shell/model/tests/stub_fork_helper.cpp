// A calculation library whose helper is a forked copy of its process.
#include "helper_stub.h"

extern "C" __attribute__((visibility("default"))) int _RunCalcProgram() {
  return RunBesideHelper([] {
    if (fork() == 0) {
      sleep(kHelperSeconds);
      _exit(0);
    }
    return getpgrp();
  });
}
