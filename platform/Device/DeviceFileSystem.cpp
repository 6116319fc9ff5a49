#include "Device/DeviceFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "Device/BeneathRoot.h"
#include "Device/Device.h"
#include "Device/FileDescriptor.h"
#include "Device/TemporaryFileName.h"

namespace fs = std::filesystem;

namespace {

constexpr mode_t kWrittenFileMode = 0644;

std::string normalisedDevicePath(std::string_view devicePath) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i <= devicePath.size()) {
    std::size_t end = devicePath.find('/', i);
    if (end == std::string_view::npos) end = devicePath.size();
    const std::string_view part = devicePath.substr(i, end - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = end + 1;
  }
  std::string out;
  for (std::string_view part : parts) {
    out += '/';
    out += part;
  }
  return out.empty() ? "/" : out;
}

std::string fileName(const std::string& normalisedPath) {
  return normalisedPath.substr(normalisedPath.rfind('/') + 1);
}

// Why an open failed, in the words the device uses after "couldn’t be opened because".
std::string openFailureReason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "there is no such file";
    case EACCES:
    case EPERM:
      return "you don’t have permission to view it";
    case EISDIR:
      return "it is a folder, not a file";
    case ELOOP:
    case EXDEV:
      return "its path goes through a link that leaves the device’s files";
    case EFBIG:
      return "it is larger than the " + std::to_string(DeviceFileSystem::kMaxReadBytes) +
             " bytes a file may hold";
    case EINVAL:
      return "it is not a regular file";
    default:
      return std::string("of an error (") + std::strerror(error) + ")";
  }
}

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself durable; failure here does not undo the write, so it is not reported.
void syncFolder(int folderFd) {
  FileDescriptor folder(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
}

// The normalised path below the root, without its leading "/".
std::string_view relativeOf(const std::string& normalised) {
  return std::string_view(normalised).substr(1);
}

// The folder part of a normalised path other than "/", relative to the root.
std::string_view relativeFolderOf(const std::string& normalised) {
  const std::size_t slash = normalised.rfind('/');
  return slash == 0 ? std::string_view() : std::string_view(normalised).substr(1, slash - 1);
}

std::string randomSuffix() {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char noise[temporary_file_name::kSuffixLength] = {};
  if (::getrandom(noise, sizeof noise, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof noise)) {
    auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (unsigned char& byte : noise) {
      byte = static_cast<unsigned char>(ticks);
      ticks = ticks * 6364136223846793005ULL + 1442695040888963407ULL;
    }
  }
  std::string suffix;
  for (unsigned char byte : noise) suffix += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return suffix;
}

// A fresh temporary file for `target` in the folder, its name in `name`; -1 on failure.
int createTemporary(int folderFd, const std::string& target, std::string& name) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    name = temporary_file_name::make(target, ::getpid(), randomSuffix());
    const int fd = ::openat(folderFd, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Removes the temporary files of `target` in the folder whose writer's process has ended. A
// live writer's file (this process's too: another thread may be writing) stays; a process id
// taken again by an unrelated process only delays the removal until that one ends.
void removeStaleTemporaries(int folderFd, const std::string& target) {
  const int listingFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listingFd < 0) return;
  DIR* listing = ::fdopendir(listingFd);
  if (!listing) {
    ::close(listingFd);
    return;
  }
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(listing)) {
    const std::optional<pid_t> writer = temporary_file_name::writerOf(entry->d_name, target);
    if (!writer || *writer == self) continue;
    if (::kill(*writer, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(listing), entry->d_name, 0);
  }
  ::closedir(listing);
}

}  // namespace

DeviceFileSystem::DeviceFileSystem(Device& device, fs::path root) : device_(device) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(root, ec);
  root_ = ec ? fs::absolute(root, ec).lexically_normal() : canonical;
}

std::string DeviceFileSystem::normalisedPath(std::string_view devicePath) {
  return normalisedDevicePath(devicePath);
}

int DeviceFileSystem::openRoot() const {
  return ::open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

fs::path DeviceFileSystem::hostPath(std::string_view devicePath) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  if (normalised == "/") return root_;
  return root_ / normalised.substr(1);
}

bool DeviceFileSystem::exists(std::string_view devicePath) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  FileDescriptor root(openRoot());
  if (!root.valid()) return false;
  return FileDescriptor(beneath_root::open(root.get(), relativeOf(normalised), O_PATH)).valid();
}

bool DeviceFileSystem::isDirectory(std::string_view devicePath) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  FileDescriptor root(openRoot());
  if (!root.valid()) return false;
  return FileDescriptor(
             beneath_root::open(root.get(), relativeOf(normalised), O_PATH | O_DIRECTORY))
      .valid();
}

std::optional<std::vector<std::uint8_t>> DeviceFileSystem::read(std::string_view devicePath,
                                                                std::string* error,
                                                                int* errorNumber) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  const auto fail = [&](int number) -> std::optional<std::vector<std::uint8_t>> {
    setError(error, "The file “" + fileName(normalised) + "” couldn’t be opened because " +
                        openFailureReason(number) + ".");
    if (errorNumber) *errorNumber = number;
    return std::nullopt;
  };
  FileDescriptor root(openRoot());
  if (!root.valid()) return fail(errno);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
  FileDescriptor file(
      beneath_root::open(root.get(), relativeOf(normalised), O_RDONLY | O_NONBLOCK | O_NOCTTY));
  if (!file.valid()) return fail(errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return fail(errno);
  if (S_ISDIR(info.st_mode)) return fail(EISDIR);
  if (!S_ISREG(info.st_mode)) return fail(EINVAL);
  if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > kMaxReadBytes) {
    return fail(EFBIG);
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[64 * 1024];
  // One byte past the limit tells a file that grew beyond it since the fstat.
  while (bytes.size() <= kMaxReadBytes) {
    const std::size_t wanted = std::min(sizeof buffer, kMaxReadBytes + 1 - bytes.size());
    const ssize_t n = ::read(file.get(), buffer, wanted);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  if (bytes.size() > kMaxReadBytes) return fail(EFBIG);
  return bytes;
}

bool DeviceFileSystem::writeAtomically(std::string_view devicePath,
                                       std::span<const std::uint8_t> bytes, std::string* error) {
  const std::string normalised = normalisedDevicePath(devicePath);
  const std::string name = fileName(normalised);
  const auto fail = [&](const std::string& reason) {
    setError(error, "The file “" + (name.empty() ? std::string("/") : name) +
                        "” couldn’t be saved because " + reason + ".");
    return false;
  };
  if (normalised == "/") return fail("it is the root folder");
  const auto faulted = [&](WriteStep step) {
    return faultInjector_ && faultInjector_(step, normalised);
  };

  FileDescriptor root(openRoot());
  if (!root.valid()) return fail("its folder could not be created");
  FileDescriptor folder(beneath_root::openFolderCreating(root.get(), relativeFolderOf(normalised)));
  if (!folder.valid()) return fail("its folder could not be created");
  struct stat info {};
  if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISDIR(info.st_mode)) {
    return fail("a folder of that name is in the way");
  }
  removeStaleTemporaries(folder.get(), name);

  if (faulted(WriteStep::CreateTemporary)) return fail("the write was interrupted");
  // A hidden temporary file in the target's folder, so that the rename never crosses a file
  // system and readers never see a half-written target.
  std::string temporary;
  FileDescriptor file(createTemporary(folder.get(), name, temporary));
  if (!file.valid()) {
    return fail(std::string("a temporary file could not be made (") + std::strerror(errno) + ")");
  }
  const auto abandon = [&](const std::string& reason) {
    file.reset();
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    return fail(reason);
  };

  if (faulted(WriteStep::WriteBytes)) return abandon("the write was interrupted");
  if (::fchmod(file.get(), kWrittenFileMode) != 0 || !writeAll(file.get(), bytes)) {
    return abandon(std::string("writing failed (") + std::strerror(errno) + ")");
  }
  if (faulted(WriteStep::Flush)) return abandon("the write was interrupted");
  if (::fsync(file.get()) != 0) {
    return abandon(std::string("flushing failed (") + std::strerror(errno) + ")");
  }
  if (::close(file.release()) != 0) {
    return abandon(std::string("closing failed (") + std::strerror(errno) + ")");
  }
  if (faulted(WriteStep::Rename)) return abandon("the write was interrupted");
  // The rename replaces a link at the target itself, never the file it points to.
  if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
    return abandon(std::string("replacing the file failed (") + std::strerror(errno) + ")");
  }
  syncFolder(folder.get());
  device_.emit("file", EventFields{{"op", EventValue::string("write")},
                                   {"path", EventValue::string(normalised)}});
  return true;
}

bool DeviceFileSystem::remove(std::string_view devicePath, std::string* error) {
  const std::string normalised = normalisedDevicePath(devicePath);
  const std::string name = fileName(normalised);
  const auto fail = [&](const std::string& reason) {
    setError(error, "“" + (name.empty() ? std::string("/") : name) +
                        "” couldn’t be removed because " + reason + ".");
    return false;
  };
  if (normalised == "/") return fail("it is the root folder");
  FileDescriptor root(openRoot());
  FileDescriptor folder(root.valid() ? beneath_root::open(root.get(), relativeFolderOf(normalised),
                                                          O_PATH | O_DIRECTORY)
                                     : -1);
  struct stat info {};
  if (!folder.valid() || ::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return fail(errno == ENOENT || errno == ENOTDIR
                    ? std::string("there is no such file")
                    : "of an error (" + std::string(std::strerror(errno)) + ")");
  }
  if (removeFaultInjector_ && removeFaultInjector_(normalised)) {
    return fail("the operation is not permitted");
  }
  if (!beneath_root::removeEntry(folder.get(), name.c_str())) {
    return fail("of an error (" + std::string(std::strerror(errno)) + ")");
  }
  device_.emit("file", EventFields{{"op", EventValue::string("delete")},
                                   {"path", EventValue::string(normalised)}});
  return true;
}

bool DeviceFileSystem::createDirectories(std::string_view devicePath) {
  const std::string normalised = normalisedDevicePath(devicePath);
  FileDescriptor root(openRoot());
  if (!root.valid()) return false;
  return FileDescriptor(beneath_root::openFolderCreating(root.get(), relativeOf(normalised)))
      .valid();
}

int DeviceFileSystem::openCreating(std::string_view devicePath) {
  const std::string normalised = normalisedDevicePath(devicePath);
  if (normalised == "/") return -1;
  FileDescriptor root(openRoot());
  if (!root.valid()) return -1;
  FileDescriptor folder(beneath_root::openFolderCreating(root.get(), relativeFolderOf(normalised)));
  if (!folder.valid()) return -1;
  const std::string name = fileName(normalised);
  return beneath_root::open(folder.get(), name, O_RDWR | O_CREAT, 0644);
}
