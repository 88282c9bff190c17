// What the system lets this process use: the processors it may run on and
// the memory it can still have. A run sizes its threads and refuses a block
// it cannot hold from these, rather than from what the machine has in all.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace platform {

// The processors the calling thread may run on (its affinity, which taskset,
// a container or a scheduler sets for the process); at least 1.
WB_EXPORT std::int32_t UsableProcessorCount();

// The bytes this process can still allocate and use: the least of what the
// system has available (free swap included), what the memory limit of its
// control group leaves, and what its address-space and data-size limits
// leave.
WB_EXPORT std::uint64_t AvailableMemory();

}  // namespace platform
