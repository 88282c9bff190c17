#include "platform/process_resources.h"

#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace platform {
namespace {

constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();

std::uint64_t Left(std::uint64_t limit, std::uint64_t used) { return limit > used ? limit - used : 0; }

// The number a file begins with; none for a missing file or a word such as
// "max".
std::optional<std::uint64_t> NumberIn(const std::string& path) {
  std::ifstream file(path);
  std::uint64_t value = 0;
  if (file >> value) return value;
  return std::nullopt;
}

// The value of a "name value" line of a statistics file; none when missing.
std::optional<std::uint64_t> EntryIn(const std::string& path, const std::string& name) {
  std::ifstream file(path);
  std::string key;
  std::uint64_t value = 0;
  while (file >> key >> value) {
    if (key == name) return value;
  }
  return std::nullopt;
}

// What the system can still give without killing anybody: the memory it
// reckons available and the free swap.
std::uint64_t SystemLeft() {
  std::ifstream meminfo("/proc/meminfo");
  std::uint64_t left = 0;
  bool known = false;
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string key;
    std::uint64_t kibibytes = 0;
    if (fields >> key >> kibibytes && (key == "MemAvailable:" || key == "SwapFree:")) {
      left += kibibytes * 1024;
      known = true;
    }
  }
  return known ? left : kUnlimited;
}

// What the memory limits of the process's control group and of every group
// above it leave, under the unified hierarchy or the memory controller of
// the older one. The usage counts the group's page cache, which the kernel
// takes back before it refuses memory; what it holds inactive counts as left.
std::uint64_t ControlGroupLeft() {
  std::ifstream groups("/proc/self/cgroup");
  std::uint64_t left = kUnlimited;
  std::string line;
  while (std::getline(groups, line)) {
    // "hierarchy:controllers:path"; the unified hierarchy names no controllers.
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
    std::string path = line.substr(second + 1);
    std::string root, limit_file, usage_file, cache_entry;
    if (controllers == ",,") {
      root = "/sys/fs/cgroup";
      limit_file = "memory.max";
      usage_file = "memory.current";
      cache_entry = "inactive_file";
    } else if (controllers.find(",memory,") != std::string::npos) {
      root = "/sys/fs/cgroup/memory";
      limit_file = "memory.limit_in_bytes";
      usage_file = "memory.usage_in_bytes";
      cache_entry = "total_inactive_file";  // of the groups below as well, as the usage is
    } else {
      continue;
    }
    for (;;) {
      const std::string folder = root + path + "/";
      const std::optional<std::uint64_t> limit = NumberIn(folder + limit_file);
      const std::optional<std::uint64_t> usage = NumberIn(folder + usage_file);
      if (limit && usage) {
        const std::uint64_t cache = EntryIn(folder + "memory.stat", cache_entry).value_or(0);
        left = std::min(left, Left(*limit, *usage - std::min(*usage, cache)));
      }
      if (path.empty() || path == "/") break;
      path.resize(path.rfind('/'));
    }
  }
  return left;
}

// What the address-space and data-size limits leave of the process's size.
std::uint64_t ProcessLimitsLeft() {
  // Pages: size, resident, shared, text, library (unused), data and stack.
  std::uint64_t size = 0;
  std::uint64_t skipped = 0;
  std::uint64_t data = 0;
  std::ifstream("/proc/self/statm") >> size >> skipped >> skipped >> skipped >> skipped >> data;
  const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  std::uint64_t left = kUnlimited;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    left = std::min(left, Left(limit.rlim_cur, size * page));
  if (getrlimit(RLIMIT_DATA, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    left = std::min(left, Left(limit.rlim_cur, data * page));
  return left;
}

}  // namespace

std::int32_t UsableProcessorCount() {
  // The set is as large as the kernel's; a machine of more processors than
  // the first guess asks again with room for twice as many.
  for (int processors = 1024; processors <= (1 << 20); processors *= 2) {
    const std::unique_ptr<cpu_set_t, void (*)(cpu_set_t*)> set(CPU_ALLOC(processors),
                                                               [](cpu_set_t* s) { CPU_FREE(s); });
    if (!set) break;
    const std::size_t size = CPU_ALLOC_SIZE(processors);
    if (sched_getaffinity(0, size, set.get()) == 0) return std::max(CPU_COUNT_S(size, set.get()), 1);
    if (errno != EINVAL) break;
  }
  return std::max(static_cast<std::int32_t>(std::thread::hardware_concurrency()), 1);
}

std::uint64_t AvailableMemory() { return std::min({SystemLeft(), ControlGroupLeft(), ProcessLimitsLeft()}); }

std::uint64_t ThreadStackBytes() {
  pthread_attr_t defaults;
  if (pthread_getattr_default_np(&defaults) != 0) return 0;
  std::size_t stack = 0;
  std::size_t guard = 0;
  pthread_attr_getstacksize(&defaults, &stack);
  pthread_attr_getguardsize(&defaults, &guard);
  pthread_attr_destroy(&defaults);
  return stack + guard;
}

void ShareAllocatorArenasUnderAddressLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) mallopt(M_ARENA_MAX, 1);
}

}  // namespace platform
