// A data-translator library for the tests: it loads and has its entry.
extern "C" __attribute__((visibility("default"))) int _RunDataTranslator() { return 0; }
