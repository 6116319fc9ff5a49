// Wraps libdispatch: dispatch_time, dispatch_get_main_queue, dispatch_after, dispatch_async.
#include "native/Dispatch/NativeMainQueue.h"

#include <dispatch/dispatch.h>

namespace gw::native::dispatch {

std::uint64_t time(std::uint64_t when, std::int64_t deltaNanoseconds) {
  return dispatch_time(when, deltaNanoseconds);
}

const void* mainQueue() {
  return (__bridge const void*)dispatch_get_main_queue();
}

void after(std::uint64_t when, const void* queue, std::function<void()> work) {
  if (queue == nullptr || when == DISPATCH_TIME_FOREVER) return;
  __block std::function<void()> pending = std::move(work);
  dispatch_after(when, (__bridge dispatch_queue_t)queue, ^{
    if (pending) pending();
  });
}

void async(const void* queue, std::function<void()> work) {
  if (queue == nullptr) return;
  __block std::function<void()> pending = std::move(work);
  dispatch_async((__bridge dispatch_queue_t)queue, ^{
    if (pending) pending();
  });
}

}  // namespace gw::native::dispatch
