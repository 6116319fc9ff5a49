// The advisory lock behind NSFileCoordinator, shared by the simulated device and the real one;
// each opens the lock file its own way.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "Foundation/NSFileManager.h"

namespace gw::coordination {

// The lock file of a normalised absolute path: ".<name>.lock" beside the target, so that every
// process writing the file takes the same lock. Empty for "/", which has no folder to hold one.
std::string lockFilePathOf(const std::string& normalisedTarget);

// Runs `body` holding an exclusive flock on the open lock file `fd`, waiting as long as another
// holder keeps it. Takes ownership of `fd` (closed on return, which releases the lock); a
// negative `fd` (the lock file could not be opened) fails without running `body`.
bool runLocked(int fd, const std::function<void()>& body);

// As above, waiting at most `maxWait` of real time for the lock.
NSFileCoordinator::Outcome runLocked(int fd, std::chrono::milliseconds maxWait,
                                     const std::function<void()>& body);

}  // namespace gw::coordination
