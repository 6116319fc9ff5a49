// A writer that dies in the middle of replacing a file: a forked copy of the test process that
// ends at once (no destructors, no clean-up) at a chosen step of an atomic write, the way a
// crash or a power cut would end it.
//
//   const int status = runInChildProcess([&] {
//     dieDuringNextWrite(device, DeviceFileSystem::WriteStep::Flush);
//     ...the write under test...
//   });
//   ASSERT_EQ(status, kWriterDiedStatus);
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/DeviceFileSystem.h"

namespace test_support {

inline constexpr int kWriterDiedStatus = 42;

// Runs `body` in a forked copy of this process and returns its exit status: 0 when `body`
// returned, -1 when the child did not exit normally. The child never returns into the caller.
template <typename Body>
int runInChildProcess(Body body) {
  const pid_t child = ::fork();
  if (child == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Makes this process end with kWriterDiedStatus when the next atomic write on `device` reaches
// `step`, or, for nullopt, just after a write has replaced its file.
inline void dieDuringNextWrite(Device& device, std::optional<DeviceFileSystem::WriteStep> step) {
  if (step) {
    device.fileSystem().setFaultInjectorForTesting(
        [at = *step](DeviceFileSystem::WriteStep reached, const std::string&) {
          if (reached == at) ::_exit(kWriterDiedStatus);
          return false;
        });
  } else {
    device.subscribe([](const DeviceEvent& event) {
      if (event.name == "file") ::_exit(kWriterDiedStatus);
    });
  }
}

// The moments a writer may die at, with whether the new file is in place by then.
struct DeathPoint {
  const char* name;
  std::optional<DeviceFileSystem::WriteStep> step;
  bool newFileInPlace;
};
inline constexpr DeathPoint kDeathPoints[] = {
    {"before the temporary file exists", DeviceFileSystem::WriteStep::CreateTemporary, false},
    {"before the bytes are written", DeviceFileSystem::WriteStep::WriteBytes, false},
    {"before the bytes are flushed", DeviceFileSystem::WriteStep::Flush, false},
    {"before the rename", DeviceFileSystem::WriteStep::Rename, false},
    {"after the rename", std::nullopt, true},
};

}  // namespace test_support
