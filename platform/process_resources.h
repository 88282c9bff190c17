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
// control group leaves (its reclaimable page cache counts as left), and what
// its address-space and data-size limits leave.
WB_EXPORT std::uint64_t AvailableMemory();

// What each further thread takes of that besides what it allocates: its
// stack with its guard page.
WB_EXPORT std::uint64_t ThreadStackBytes();

// Under an address-space limit, the threads started from now on share the
// allocator's arenas: an arena of a thread's own reserves 64 MiB of
// addresses, twice that while it is made, which such a limit refuses long
// before the thread's allocations would not fit. Without a limit it does
// nothing.
WB_EXPORT void ShareAllocatorArenasUnderAddressLimit();

}  // namespace platform
