// libdispatch's main queue running C++ work.
#pragma once

#include <cstdint>
#include <functional>

namespace gw::native::dispatch {

// dispatch_time(when, delta), in libdispatch's own units (0 is now, ~0 is forever).
std::uint64_t time(std::uint64_t when, std::int64_t deltaNanoseconds);
// dispatch_get_main_queue(), as an opaque pointer that only goes back to these functions.
const void* mainQueue();
// dispatch_after / dispatch_async on `queue` (from mainQueue()); the work is released after it
// runs.
void after(std::uint64_t when, const void* queue, std::function<void()> work);
void async(const void* queue, std::function<void()> work);

}  // namespace gw::native::dispatch
