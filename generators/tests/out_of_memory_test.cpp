// Storage running out while the multivariate generator copies its operands: the
// allocator of this test program fails on request, and the library must turn the
// failure into its own error and release whatever it had made (the leak checker
// of the sanitizer build watches that).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "generators/univariate.h"
#include "generators/value_multi.h"
#include "platform/exceptions.h"
#include "platform/export.h"

namespace {

// -1: never fail; n >= 0: the allocation after n more succeed fails, once.
std::atomic<long> allocations_before_failure{-1};

void* Allocate(std::size_t size) {
  long left = allocations_before_failure.load();
  if (left == 0) {
    allocations_before_failure.store(-1);
    throw std::bad_alloc();
  }
  if (left > 0) allocations_before_failure.store(left - 1);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

// The program's own allocator replaces the standard one, in the library too.
WB_EXPORT void* operator new(std::size_t size) { return Allocate(size); }
WB_EXPORT void* operator new[](std::size_t size) { return Allocate(size); }
WB_EXPORT void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
WB_EXPORT void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
WB_EXPORT void operator delete(void* p) noexcept { std::free(p); }
WB_EXPORT void operator delete[](void* p) noexcept { std::free(p); }
WB_EXPORT void operator delete(void* p, std::size_t) noexcept { std::free(p); }
WB_EXPORT void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
WB_EXPORT void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
WB_EXPORT void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

TEST(ValueMultiOutOfMemory, EveryFailedAllocationBecomesTheLibrarysError) {
  Vector mean(3);
  Matrix covariance(3, 3, 2.0);
  TCValueNorm normal(0.0, 1.0);
  int failures = 0;
  for (long succeeding = 0;; ++succeeding) {
    allocations_before_failure.store(succeeding);
    try {
      TCValueMulti multi(&mean, &covariance, &normal);
      allocations_before_failure.store(-1);
      EXPECT_EQ(multi.DimVector(), 3);
      break;
    } catch (const EOutOfMemory& e) {
      EXPECT_EQ(e.Message(), "MNorm: Невозможно выделить память !");
      ++failures;
    }
    ASSERT_LT(succeeding, 1000) << "the constructor never completed";
  }
  // The mean, the covariance copy and the factor each need several allocations.
  EXPECT_GT(failures, 10);
}

}  // namespace
