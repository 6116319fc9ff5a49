#include "Device/DeviceFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "Device/Device.h"

namespace fs = std::filesystem;

namespace {

constexpr mode_t kWrittenFileMode = 0644;

// The device path with ".", ".." and repeated separators resolved, always absolute: ".." at the
// top stays at "/", so that no device path names anything above the device's root.
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
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

DeviceFileSystem::DeviceFileSystem(Device& device, fs::path root) : device_(device) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(root, ec);
  root_ = ec ? fs::absolute(root, ec).lexically_normal() : canonical;
}

fs::path DeviceFileSystem::hostPath(std::string_view devicePath) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  if (normalised == "/") return root_;
  return root_ / normalised.substr(1);
}

bool DeviceFileSystem::exists(std::string_view devicePath) const {
  std::error_code ec;
  return fs::exists(hostPath(devicePath), ec);
}

bool DeviceFileSystem::isDirectory(std::string_view devicePath) const {
  std::error_code ec;
  return fs::is_directory(hostPath(devicePath), ec);
}

std::optional<std::vector<std::uint8_t>> DeviceFileSystem::read(std::string_view devicePath,
                                                                std::string* error) const {
  const std::string normalised = normalisedDevicePath(devicePath);
  const fs::path host = hostPath(normalised);
  const auto fail = [&](int errorNumber) -> std::optional<std::vector<std::uint8_t>> {
    setError(error, "The file “" + fileName(normalised) + "” couldn’t be opened because " +
                        openFailureReason(errorNumber) + ".");
    return std::nullopt;
  };
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    const int errorNumber = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(fd);
    return fail(errorNumber);
  }
  std::vector<std::uint8_t> bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[64 * 1024];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int errorNumber = errno;
      ::close(fd);
      return fail(errorNumber);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
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
  const fs::path target = hostPath(normalised);
  const fs::path folder = target.parent_path();
  const auto faulted = [&](WriteStep step) {
    return faultInjector_ && faultInjector_(step, normalised);
  };

  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) return fail("its folder could not be created");
  if (fs::is_directory(target, ec)) return fail("a folder of that name is in the way");

  if (faulted(WriteStep::CreateTemporary)) return fail("the write was interrupted");
  // A hidden temporary file in the target's folder, so that the rename never crosses a file
  // system and readers never see a half-written target.
  std::string temporary = (folder / ("." + name + ".XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0)
    return fail(std::string("a temporary file could not be made (") + std::strerror(errno) + ")");
  const auto abandon = [&](const std::string& reason, bool open) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    return fail(reason);
  };

  if (faulted(WriteStep::WriteBytes)) return abandon("the write was interrupted", true);
  if (::fchmod(fd, kWrittenFileMode) != 0 || !writeAll(fd, bytes)) {
    return abandon(std::string("writing failed (") + std::strerror(errno) + ")", true);
  }
  if (faulted(WriteStep::Flush)) return abandon("the write was interrupted", true);
  if (::fsync(fd) != 0) {
    return abandon(std::string("flushing failed (") + std::strerror(errno) + ")", true);
  }
  if (::close(fd) != 0) {
    return abandon(std::string("closing failed (") + std::strerror(errno) + ")", false);
  }
  if (faulted(WriteStep::Rename)) return abandon("the write was interrupted", false);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    return abandon(std::string("replacing the file failed (") + std::strerror(errno) + ")", false);
  }
  syncFolder(folder);
  device_.emit("file", Foundation::Dictionary{{"op", Foundation::Value::string("write")},
                                              {"path", Foundation::Value::string(normalised)}});
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
  const fs::path host = hostPath(normalised);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(host, ec))) return fail("there is no such file");
  if (removeFaultInjector_ && removeFaultInjector_(normalised)) {
    return fail("the operation is not permitted");
  }
  fs::remove_all(host, ec);
  if (ec) return fail("of an error (" + ec.message() + ")");
  device_.emit("file", Foundation::Dictionary{{"op", Foundation::Value::string("delete")},
                                              {"path", Foundation::Value::string(normalised)}});
  return true;
}

bool DeviceFileSystem::createDirectories(std::string_view devicePath) {
  std::error_code ec;
  const fs::path host = hostPath(devicePath);
  fs::create_directories(host, ec);
  return !ec && fs::is_directory(host, ec);
}
