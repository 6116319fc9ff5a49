// libdispatch's main queue on the virtual clock: dispatch_after / dispatch_async run blocks on
// the current process's main run loop. Times are virtual nanoseconds since the device started.
#pragma once

#include <cstdint>
#include <functional>

using dispatch_time_t = std::uint64_t;
inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~dispatch_time_t{0};  // never
inline constexpr std::int64_t NSEC_PER_SEC = 1000000000;

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;
using dispatch_block_t = std::function<void()>;

// `when` (DISPATCH_TIME_NOW for the current virtual time) plus `delta` nanoseconds, never
// before the device started; DISPATCH_TIME_FOREVER stays FOREVER.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t delta);
// The main queue of the current process; valid while that process runs.
dispatch_queue_t dispatch_get_main_queue();
// Runs `block` once on `queue` no earlier than `when` (a time already past means now, a null
// queue or DISPATCH_TIME_FOREVER means never). A delay made with dispatch_time(NOW, d) falls
// due exactly when runFor(d seconds) from now reaches it.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
