#include "Device/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(TemporaryFolderTest, EachIsFreshAndGoesAwayWithEverythingInIt) {
  std::filesystem::path left;
  {
    TemporaryFolder a("gyrowhirl-folder-test-");
    TemporaryFolder b("gyrowhirl-folder-test-", TemporaryFolder::Placement::Memory);
    ASSERT_TRUE(a.valid());
    ASSERT_TRUE(b.valid());
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(std::filesystem::is_empty(a.path()));
    std::filesystem::create_directories(a.path() / "var/mobile");
    std::ofstream(a.path() / "var/mobile/file") << "data";
    left = a.path();
  }
  EXPECT_FALSE(std::filesystem::exists(left));
}

TEST(TemporaryFolderTest, AFolderThatCannotBeMadeIsInvalidAndEmpty) {
  TemporaryFolder folder("no-such-folder/gyrowhirl-");
  EXPECT_FALSE(folder.valid());
  EXPECT_TRUE(folder.path().empty());
}

}  // namespace
