// Where the program that ends processes by name is installed. A rootless jailbreak puts its
// programs under the jailbreak root /var/jb; a rootful one, and the system, under /usr/bin.
#pragma once

#include <functional>

inline constexpr const char* kRootlessKillallProgramPath = "/var/jb/usr/bin/killall";
inline constexpr const char* kRootfulKillallProgramPath = "/usr/bin/killall";

// The rootless copy when `fileExists` finds it, else the rootful one.
const char* killallProgramPath(const std::function<bool(const char* path)>& fileExists);
