// posix_spawn on the simulated device. It never starts a program on the host: the device has
// one program worth starting, "/usr/bin/killall". Spawning it launches a short-lived device
// process "killall" (its pid is the one returned) that, on the device's clock right after the
// caller's current task, ends the processes its arguments name and then ends itself. Naming
// "backboardd" (or "SpringBoard") restarts the user interface (see Backboard); options
// ("-9") are skipped, and other names match nothing. Any other program is not found: the call
// fails with ENOENT and starts nothing.
//
// Every call, successful or not, emits the device event "spawn" with "path" and "argv" (the
// argument strings, without the terminating null entry).
//
// Arguments past the 256th are ignored (argv must be null-terminated before it anyway). The
// file actions and attributes are not modelled (pass null). Do not include this header
// together with the host's <spawn.h>: the two declarations would make a call ambiguous.
#pragma once

#include <sys/types.h>

using posix_spawn_file_actions_t = void*;
using posix_spawnattr_t = void*;

// Returns 0 and stores the child's pid in `*pid` (when not null) on success, an errno value
// otherwise (ENOENT for an unknown program, EINVAL for a null path).
int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions,
                const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]);
