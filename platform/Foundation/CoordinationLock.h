// The lock file behind NSFileCoordinator (platform/Foundation/NSFileCoordinator.cpp, the same on
// the simulated device and the real one); each side opens it on its own file system.
#pragma once

#include <string>
#include <string_view>

namespace gw::coordination {

// The lock file of a normalised absolute path: ".<name>.lock" beside the target, so that every
// process writing the file takes the same lock. Empty for "/", which has no folder to hold one.
std::string lockFilePathOf(const std::string& normalisedTarget);

// The open lock file of `path` (by lockFilePathOf its normalised form, created when absent), or
// -1 when it cannot be opened. Each side defines it on its own file system: the simulated
// device's in platform/Foundation/NSFileManager.cpp, the real one's in device/face/.
int openLockFileOf(std::string_view path);

}  // namespace gw::coordination
