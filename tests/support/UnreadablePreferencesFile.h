// Preferences files that are there but that no reader takes, for the tests of the writers that
// change one entry and write the file back: each must leave such a file exactly as it was.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Device/DeviceFileSystem.h"

namespace test_support {

struct UnreadableKind {
  const char* name;
  // Puts such a file at `file` (its folder exists); false when this kind cannot be made here.
  bool (*make)(const std::filesystem::path& file);
};

inline bool writeHostFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

// A valid XML property list whose dictionary holds arrays nested `depth` levels deep, with the
// settings a user would lose beside them.
inline std::string deeplyNestedPlist(int depth) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
      "<key>pColorPickerFABBgColor</key><string>#00FF00:0.8</string>\n"
      "<key>pToggleIsEnabled</key><false/>\n<key>deep</key>";
  for (int i = 0; i < depth; ++i) text += "<array>";
  for (int i = 0; i < depth; ++i) text += "</array>";
  return text + "\n</dict>\n</plist>\n";
}

inline const UnreadableKind kUnreadableKinds[] = {
    {"not a property list",
     [](const std::filesystem::path& f) {
       return writeHostFile(f, "pColorPickerFABBgColor = #00FF00:0.8; (hand-edited)\n");
     }},
    {"nested 600 levels deep",
     [](const std::filesystem::path& f) { return writeHostFile(f, deeplyNestedPlist(600)); }},
    {"over the read limit",
     [](const std::filesystem::path& f) {
       const int fd = ::open(f.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
       const bool made =
           fd >= 0 && ::ftruncate(fd, static_cast<off_t>(DeviceFileSystem::kMaxReadBytes) + 1) == 0;
       if (fd >= 0) ::close(fd);
       return made;
     }},
    {"not readable by this user",
     [](const std::filesystem::path& f) {
       // Permissions do not stop the superuser.
       return ::geteuid() != 0 && writeHostFile(f, deeplyNestedPlist(1)) &&
              ::chmod(f.c_str(), 0200) == 0;
     }},
};

// What identifies a file's contents without reading 64 MB: a rewrite gets a new inode.
struct FileIdentity {
  ino_t inode = 0;
  off_t size = -1;
  std::vector<char> head;  // the first 4 KB

  static FileIdentity of(const std::filesystem::path& file) {
    FileIdentity identity;
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return identity;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    // The superuser reads a mode-0200 file all the same; others compare inode and size only.
    std::ifstream in(file, std::ios::binary);
    identity.head.resize(4096);
    in.read(identity.head.data(), static_cast<std::streamsize>(identity.head.size()));
    identity.head.resize(static_cast<std::size_t>(in.gcount()));
    return identity;
  }
  bool operator==(const FileIdentity&) const = default;
};

}  // namespace test_support
