#include "gyrowhirlprefs/KillallProgram.h"

const char* killallProgramPath(const std::function<bool(const char* path)>& fileExists) {
  if (fileExists && fileExists(kRootlessKillallProgramPath)) return kRootlessKillallProgramPath;
  return kRootfulKillallProgramPath;
}
