// posix_spawn on a device: the C library's own, which the product's calls (null file actions and
// attributes) fit as they are.
#pragma once

#include <spawn.h>
#include <sys/types.h>
