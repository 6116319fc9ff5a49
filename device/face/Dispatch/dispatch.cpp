#include "Dispatch/dispatch.h"

#include "native/Dispatch/NativeMainQueue.h"

namespace native = gw::native::dispatch;

dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta) {
  return native::time(when, delta);
}

dispatch_queue_t dispatch_get_main_queue() {
  // Only ever handed back to these functions.
  return static_cast<dispatch_queue_t>(const_cast<void*>(native::mainQueue()));
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block) {
  native::after(when, queue, std::move(block));
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
  native::async(queue, std::move(block));
}
