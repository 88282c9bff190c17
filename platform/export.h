// Symbol visibility for our shared libraries: everything is hidden unless
// marked, so each library exports exactly its interface.
#pragma once

#define WB_EXPORT __attribute__((visibility("default")))
