// posix_spawn of a program with arguments.
#pragma once

#include <sys/types.h>

namespace gw::native::system {

// posix_spawn(pid, path, no file actions, no attributes, argv, envp): 0 or an errno value.
int spawn(pid_t* pid, const char* path, char* const argv[], char* const envp[]);

}  // namespace gw::native::system
