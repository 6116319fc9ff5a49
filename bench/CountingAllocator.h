// Counts what the whole benchmark program allocates through the global allocation functions,
// which CountingAllocator.cpp replaces: allocations made, and bytes still allocated (the live
// heap). The counts are process-wide and atomic, so they are right whichever thread allocates.
//
//   const auto before = CountingAllocator::allocations();
//   helper->processOrientationState();
//   CountingAllocator::allocations() - before   // 0
//
// Blocks come from malloc and go back to free; a block's size is what malloc_usable_size
// reports, the same on allocation and on release, so liveBytes() returns to its old value when
// everything allocated since has been freed.
#pragma once

#include <cstddef>
#include <cstdint>

class CountingAllocator {
 public:
  static std::uint64_t allocations();
  static std::uint64_t deallocations();
  // Bytes handed out by operator new and not yet given back.
  static std::int64_t liveBytes();
};
