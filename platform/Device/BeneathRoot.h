// Opening host files beneath a folder without ever leaving it: the device's files live under
// its root folder, and no symbolic link inside that folder may lead a device operation out of
// it (a link to another folder, to /dev/zero, to the host's /etc).
//
// Paths given here are relative to the folder and already free of "." and ".." (normalised
// device paths without their leading "/"); an empty path names the folder itself.
//
// Where the kernel resolves beneath a folder itself (openat2 with RESOLVE_BENEATH), links that
// stay beneath it are followed; otherwise every component is opened in turn with O_NOFOLLOW,
// which refuses every link, inside or not. Either way a link that leads out fails (EXDEV or
// ELOOP), and so does a final component that is itself a link when `flags` hold O_CREAT.
#pragma once

#include <sys/types.h>

#include <string_view>

namespace beneath_root {

enum class Resolution {
  // openat2 where the kernel has it, the component walk where it does not (ENOSYS, or
  // EPERM from a system-call filter).
  Automatic,
  // The component walk always (for tests of the fallback).
  ComponentWalk,
};

// open(2) of `relativePath` beneath the folder open at `rootFd`: a new descriptor, or -1 with
// errno set. O_CLOEXEC is always added.
int open(int rootFd, std::string_view relativePath, int flags, mode_t mode = 0,
         Resolution resolution = Resolution::Automatic);

// The folder at `relativePath` beneath `rootFd`, opened O_PATH | O_DIRECTORY, with every
// missing folder on the way created (mode 0755). -1 with errno set on failure.
int openFolderCreating(int rootFd, std::string_view relativePath,
                       Resolution resolution = Resolution::Automatic);

// Removes the entry `name` of the folder open at `folderFd`: a file or a link is unlinked (a
// link is never followed), a folder is emptied depth-first the same way and then removed.
// False with errno set when something could not be removed.
bool removeEntry(int folderFd, const char* name);

}  // namespace beneath_root
