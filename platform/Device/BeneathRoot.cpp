#include "Device/BeneathRoot.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "Device/FileDescriptor.h"

namespace beneath_root {

namespace {

std::vector<std::string> componentsOf(std::string_view relativePath) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relativePath.size()) {
    std::size_t end = relativePath.find('/', start);
    if (end == std::string_view::npos) end = relativePath.size();
    if (end > start) parts.emplace_back(relativePath.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// -1 with errno ENOSYS when the kernel has no openat2.
int openWithKernelResolution(int rootFd, std::string_view relativePath, int flags, mode_t mode) {
  open_how how{};
  how.flags = static_cast<__u64>(flags);
  how.mode = (flags & O_CREAT) ? mode : 0;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  const std::string path = relativePath.empty() ? std::string(".") : std::string(relativePath);
  long fd;
  do {
    fd = ::syscall(SYS_openat2, rootFd, path.c_str(), &how, sizeof how);
  } while (fd < 0 && (errno == EINTR || errno == EAGAIN));
  return static_cast<int>(fd);
}

int openByWalking(int rootFd, std::string_view relativePath, int flags, mode_t mode) {
  const std::vector<std::string> parts = componentsOf(relativePath);
  if (parts.empty()) return ::openat(rootFd, ".", flags, mode);
  FileDescriptor folder(-1);
  int at = rootFd;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const int next = ::openat(at, parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) return -1;
    folder.reset(next);
    at = next;
  }
  FileDescriptor last(::openat(at, parts.back().c_str(), flags | O_NOFOLLOW, mode));
  if (last.get() < 0) return -1;
  // O_PATH | O_NOFOLLOW opens a link itself rather than failing on it.
  struct stat info {};
  if ((flags & O_PATH) && ::fstat(last.get(), &info) == 0 && S_ISLNK(info.st_mode)) {
    last.reset(-1);
    errno = ELOOP;
    return -1;
  }
  return last.release();
}

}  // namespace

int open(int rootFd, std::string_view relativePath, int flags, mode_t mode, Resolution resolution) {
  flags |= O_CLOEXEC;
  // Creating through a link is never wanted: the link would decide where the file lands.
  if (flags & O_CREAT) flags |= O_NOFOLLOW;
  if (resolution == Resolution::Automatic) {
    const int fd = openWithKernelResolution(rootFd, relativePath, flags, mode);
    // EPERM too: some container filters answer an unknown system call with it.
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return fd;
  }
  return openByWalking(rootFd, relativePath, flags, mode);
}

int openFolderCreating(int rootFd, std::string_view relativePath, Resolution resolution) {
  constexpr int kFolderFlags = O_PATH | O_DIRECTORY;
  int fd = open(rootFd, relativePath, kFolderFlags, 0, resolution);
  if (fd >= 0 || errno != ENOENT) return fd;
  // Creates the missing folders one after the other, each beneath the one opened before it.
  std::string prefix;
  FileDescriptor folder(open(rootFd, "", kFolderFlags, 0, resolution));
  if (folder.get() < 0) return -1;
  for (const std::string& part : componentsOf(relativePath)) {
    prefix += prefix.empty() ? part : "/" + part;
    if (::mkdirat(folder.get(), part.c_str(), 0755) != 0 && errno != EEXIST) return -1;
    folder.reset(open(rootFd, prefix, kFolderFlags, 0, resolution));
    if (folder.get() < 0) return -1;
  }
  return folder.release();
}

bool removeEntry(int folderFd, const char* name) {
  struct stat info {};
  if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISDIR(info.st_mode)) return ::unlinkat(folderFd, name, 0) == 0;
  // O_NOFOLLOW: had the folder been swapped for a link since the fstatat, this fails.
  const int fd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* listing = ::fdopendir(fd);
  if (!listing) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return false;
  }
  bool removed = true;
  while (removed) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (!entry) {
      removed = errno == 0;
      break;
    }
    const std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    removed = removeEntry(::dirfd(listing), entry->d_name);
  }
  const int saved = errno;
  ::closedir(listing);
  errno = saved;
  return removed && ::unlinkat(folderFd, name, AT_REMOVEDIR) == 0;
}

}  // namespace beneath_root
