#include "gyrowhirlprefs/KillallProgram.h"

#include "System/spawn.h"

const char* killallProgramPath(const std::function<bool(const char* path)>& fileExists) {
  if (fileExists && fileExists(kRootlessKillallProgramPath)) return kRootlessKillallProgramPath;
  return kKillallProgramPath;
}
