// The replacement allocation functions of the benchmark program (see CountingAllocator.h).
#include "CountingAllocator.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> allocationCount{0};
std::atomic<std::uint64_t> deallocationCount{0};
std::atomic<std::int64_t> liveByteCount{0};

void* noteAllocated(void* block) {
  if (block) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    liveByteCount.fetch_add(static_cast<std::int64_t>(malloc_usable_size(block)),
                            std::memory_order_relaxed);
  }
  return block;
}

void release(void* block) noexcept {
  if (!block) return;
  deallocationCount.fetch_add(1, std::memory_order_relaxed);
  liveByteCount.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(block)),
                          std::memory_order_relaxed);
  std::free(block);
}

void* allocate(std::size_t size) {
  if (void* block = noteAllocated(std::malloc(size ? size : 1))) return block;
  throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* block = noteAllocated(std::aligned_alloc(align, rounded ? rounded : align))) {
    return block;
  }
  throw std::bad_alloc();
}

}  // namespace

std::uint64_t CountingAllocator::allocations() {
  return allocationCount.load(std::memory_order_relaxed);
}

std::uint64_t CountingAllocator::deallocations() {
  return deallocationCount.load(std::memory_order_relaxed);
}

std::int64_t CountingAllocator::liveBytes() {
  return liveByteCount.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return noteAllocated(std::malloc(size ? size : 1));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return noteAllocated(std::malloc(size ? size : 1));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return allocateAligned(size, alignment);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return allocateAligned(size, alignment);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* block) noexcept {
  release(block);
}
void operator delete[](void* block) noexcept {
  release(block);
}
void operator delete(void* block, std::size_t) noexcept {
  release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
  release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
  release(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  release(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  release(block);
}
