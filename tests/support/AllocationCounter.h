// Counts heap allocations made through operator new by this thread. The test executable that
// includes this must link the replacement operators (tests/tweak/AllocationCounter.cpp).
//
//   AllocationCounter counter;
//   helper->tick(timer);
//   EXPECT_EQ(counter.count(), 0u);
#pragma once

#include <cstddef>

namespace test_support {
std::size_t threadAllocationCount();
}  // namespace test_support

class AllocationCounter {
 public:
  AllocationCounter() : start_(test_support::threadAllocationCount()) {}
  std::size_t count() const { return test_support::threadAllocationCount() - start_; }

 private:
  std::size_t start_;
};
