// Wraps posix_spawn (<spawn.h>).
#include "native/System/NativeSpawn.h"

#include <spawn.h>

namespace gw::native::system {

int spawn(pid_t* pid, const char* path, char* const argv[], char* const envp[]) {
  return posix_spawn(pid, path, nullptr, nullptr, argv, envp);
}

}  // namespace gw::native::system
