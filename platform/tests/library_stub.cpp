// A library for the loader's tests: it loads and has one entry.
extern "C" __attribute__((visibility("default"))) int StubEntry() { return 42; }
