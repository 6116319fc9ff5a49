// Another OS process holding the file-coordination lock of one file, the way a stalled writer
// in another process would: a forked child takes the flock on the hidden lock file beside the
// target and keeps it until the holder is destroyed (the child is killed, which releases the
// lock) or, with `holdFor`, until that much real time has passed since it took the lock.
//
//   ForeignLockHolder holder(device.device().fileSystem().hostPath(kPrefsPath));
//   ASSERT_TRUE(holder.holding());
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace test_support {

class ForeignLockHolder {
 public:
  explicit ForeignLockHolder(const std::filesystem::path& hostTarget,
                             std::optional<std::chrono::milliseconds> holdFor = std::nullopt) {
    const std::filesystem::path lockFile =
        hostTarget.parent_path() / ("." + hostTarget.filename().string() + ".lock");
    std::error_code ignored;
    std::filesystem::create_directories(lockFile.parent_path(), ignored);
    int taken[2];
    if (::pipe(taken) != 0) return;
    child_ = ::fork();
    if (child_ == 0) {
      // Only async-signal-safe calls from here on: the parent may have other threads.
      ::close(taken[0]);
      const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
      const char byte = 'h';
      if (::write(taken[1], &byte, 1) != 1) ::_exit(1);
      if (holdFor) {
        const auto seconds = std::chrono::floor<std::chrono::seconds>(*holdFor);
        timespec rest{static_cast<time_t>(seconds.count()),
                      static_cast<long>(std::chrono::nanoseconds(*holdFor - seconds).count())};
        while (::nanosleep(&rest, &rest) != 0 && errno == EINTR) {
        }
        ::_exit(0);
      }
      for (;;) ::pause();
    }
    ::close(taken[1]);
    char byte = 0;
    ssize_t got;
    while ((got = ::read(taken[0], &byte, 1)) < 0 && errno == EINTR) {
    }
    holding_ = child_ > 0 && got == 1;
    ::close(taken[0]);
  }

  ~ForeignLockHolder() {
    if (child_ <= 0) return;
    ::kill(child_, SIGKILL);
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
  }

  ForeignLockHolder(const ForeignLockHolder&) = delete;
  ForeignLockHolder& operator=(const ForeignLockHolder&) = delete;

  // The child has taken the lock (and, with `holdFor`, may have let it go since).
  bool holding() const { return holding_; }

 private:
  pid_t child_ = -1;
  bool holding_ = false;
};

}  // namespace test_support
