// Many values of a univariate generator at once. TCValueUni's table of virtual
// operations holds only what every generator, the caller's own as well,
// provides; the library's own classes draw in one loop, reached here by their
// exact type.
#pragma once

#include <cstdint>

class TCValueUni;

namespace olvend {

// Writes `count` values of the generator into `values`: the values, and the
// draws in their order, of `count` calls of its CValue.
using BulkDraw = void (*)(TCValueUni& generator, double* values, std::int32_t count);

// The loop of the generator's own class when it is one of this library's, and
// calls of CValue one by one for any other class, a class derived from one of
// the library's included. A null generator is accepted: only drawing from it
// fails.
BulkDraw BulkDrawOf(const TCValueUni* generator);

}  // namespace olvend
