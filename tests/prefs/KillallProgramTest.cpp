#include "gyrowhirlprefs/KillallProgram.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct Layout {
  const char* name;
  std::set<std::string> files;
  const char* program;
};

TEST(KillallProgramTest, TheJailbreakRootsCopyWinsWhereItExists) {
  const Layout layouts[] = {
      {"rootless", {"/var/jb/usr/bin/killall", "/usr/bin/killall"}, "/var/jb/usr/bin/killall"},
      {"rootless only", {"/var/jb/usr/bin/killall"}, "/var/jb/usr/bin/killall"},
      {"rootful", {"/usr/bin/killall"}, "/usr/bin/killall"},
      // A jailbreak root without the program: the system's path, whatever is there.
      {"root without it", {"/var/jb/usr/bin/sh", "/var/jb/usr/bin"}, "/usr/bin/killall"},
      {"neither", {}, "/usr/bin/killall"},
  };
  for (const Layout& layout : layouts) {
    const auto exists = [&](const char* path) { return layout.files.contains(path); };
    EXPECT_STREQ(killallProgramPath(exists), layout.program) << layout.name;
  }
  EXPECT_STREQ(killallProgramPath(nullptr), "/usr/bin/killall");
}

}  // namespace
