// Where the tests find the real motion recordings (tyrex_*.csv), which are not part of the
// repository. The environment variable GW_MOTION_DATA names their folder; without it, the
// folder configured at build time (the CMake setting GW_MOTION_DATA, by default
// ../shared/data/motion beside the source tree when that exists). A test that needs them
// skips when there are none, or fails when GW_REQUIRE_MOTION_DATA=1 (CI sets it, so that the
// recordings cannot silently drop out of its runs).
//
//   TEST(Suite, Case) {
//     GW_NEED_MOTION_RECORDINGS(folder);
//     ...read folder / "tyrex_ar_guillaume_iphone5_dist.csv"...
//   }
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace test_support {

// The folder named by the setting when it is an existing folder; empty otherwise.
std::filesystem::path motionRecordingsFolder();
// Says what is missing and how to point at the recordings.
std::string motionRecordingsMissing();
bool motionRecordingsRequired();

}  // namespace test_support

#define GW_NEED_MOTION_RECORDINGS(folder)                                      \
  const std::filesystem::path folder = test_support::motionRecordingsFolder(); \
  if (folder.empty()) {                                                        \
    if (test_support::motionRecordingsRequired()) {                            \
      FAIL() << test_support::motionRecordingsMissing();                       \
    }                                                                          \
    GTEST_SKIP() << test_support::motionRecordingsMissing();                   \
  }
