// `--render DIR` into a folder that already holds pictures: the earlier run's pictures go and
// the folder shows the new run alone; a folder with anything else in it is refused and left
// as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "sim/SimBinaryFixture.h"
#include "sim/pictures/RenderFolder.h"

namespace sim {
namespace {

std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class RenderFolderTest : public SimBinaryTest {
 protected:
  std::string scenario() {
    return write("short.scn",
                 "app com.example.reader\n"
                 "at 0 boot\n"
                 "at 0 front com.example.reader\n"
                 "at 1 turn landscape\n"
                 "end 1.5\n");
  }
};

TEST_F(RenderFolderTest, ARunReplacesThePicturesOfAnEarlierRun) {
  const std::filesystem::path dir = folder_.path() / "pictures";
  ASSERT_EQ(sim({"run", scenario(), "--render", dir.string()}).exitStatus, 0);
  const std::set<std::string> first = namesIn(dir);
  ASSERT_TRUE(first.contains("storyboard.png"));
  // A frame of a longer earlier run, at a time this run never reaches.
  std::ofstream(dir / "frame-0099.000.png") << "earlier";

  RunResult again = sim({"run", scenario(), "--render", dir.string()});
  ASSERT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(namesIn(dir), first);
}

TEST_F(RenderFolderTest, AFolderWithOtherFilesIsRefusedAndLeftAsItWas) {
  for (const std::string foreign : {"notes.txt", "sub"}) {
    SCOPED_TRACE(foreign);
    const std::filesystem::path dir = folder_.path() / ("mixed-" + foreign);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "frame-0001.000.png") << "earlier";
    if (foreign == "sub") {
      std::filesystem::create_directories(dir / foreign);
    } else {
      std::ofstream(dir / foreign) << "mine";
    }
    RunResult r = sim({"run", scenario(), "--render", dir.string()});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("'" + foreign + "'"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"frame-0001.000.png", foreign}));
  }
}

TEST(RenderedFileNameTest, OnlyTheSimulatorsOwnNamesAreRecognised) {
  struct Row {
    const char* name;
    bool own;
  };
  const Row rows[] = {
      {"storyboard.png", true},      {"frame-0003.200.png", true},
      {"frame-12345.678.png", true}, {"frame-003.200.png", false},
      {"frame-0003.20.png", false},  {"frame-0003.2000.png", false},
      {"frame-0003200.png", false},  {"frame-00a3.200.png", false},
      {"frame-0003.200.PNG", false}, {"frame-0003.200.png.bak", false},
      {"Storyboard.png", false},     {"notes.txt", false},
      {"frame-.200.png", false},     {"frame--003.200.png", false},
  };
  for (const auto& row : rows) EXPECT_EQ(isRenderedFileName(row.name), row.own) << row.name;
}

}  // namespace
}  // namespace sim
