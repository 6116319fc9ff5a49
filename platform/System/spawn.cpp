#include "System/spawn.h"

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "System/Backboard.h"

namespace {

constexpr const char* kKillallProgramPath = "/usr/bin/killall";
constexpr const char* kKillallProcessName = "killall";
// Arguments past this many are ignored.
constexpr std::size_t kSpawnMaxArguments = 256;

bool endsUserInterface(const std::vector<std::string>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name.starts_with("-")) continue;
    if (name == "backboardd" || name == "SpringBoard") return true;
  }
  return false;
}

}  // namespace

int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* /*fileActions*/,
                const posix_spawnattr_t* /*attributes*/, char* const argv[],
                char* const /*envp*/[]) {
  Device& device = Process::current().device();
  std::vector<std::string> arguments;
  EventValue::List argumentValues;
  for (std::size_t i = 0; argv != nullptr && argv[i] != nullptr && i < kSpawnMaxArguments; ++i) {
    arguments.emplace_back(argv[i]);
    argumentValues.push_back(EventValue::string(argv[i]));
  }
  device.emit("spawn", EventFields{{"path", EventValue::string(path ? path : "")},
                                   {"argv", EventValue::list(std::move(argumentValues))}});
  if (path == nullptr) return EINVAL;
  if (std::string_view(path) != kKillallProgramPath) return ENOENT;

  const bool respring = endsUserInterface(arguments);
  std::shared_ptr<Process> killall = device.launch(kKillallProcessName);
  const std::uint64_t killallPid = killall->pid();
  if (pid != nullptr) *pid = static_cast<pid_t>(killallPid);
  device.schedule(*killall, device.now(), [&device, respring, killallPid] {
    if (respring) Backboard::of(device).restartUserInterface(device);
    std::shared_ptr<Process> self = device.process(kKillallProcessName);
    if (self && self->pid() == killallPid) device.terminate(kKillallProcessName);
  });
  return 0;
}
