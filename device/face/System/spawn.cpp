#include "System/spawn.h"

#include <cerrno>

#include "native/System/NativeSpawn.h"

// The face models neither file actions nor attributes (callers pass null): none are given.
int posix_spawn(pid_t* pid, const char* path, const PosixSpawnFileActions* /*fileActions*/,
                const PosixSpawnAttributes* /*attributes*/, char* const argv[],
                char* const envp[]) {
  if (path == nullptr) return EINVAL;
  return gw::native::system::spawn(pid, path, argv, envp);
}
