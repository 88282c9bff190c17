// A library for the tests that loads but has none of the method entries.
extern "C" __attribute__((visibility("default"))) int StubWithoutMethodEntries() { return 0; }
