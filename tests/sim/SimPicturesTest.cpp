// The simulator as a newcomer meets it: the showcase with no command, pictures of the phone
// (`--render`), motion plots (`plot`), and a human timeline that carries colour codes only
// on a terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "Device/TemporaryFolder.h"
#include "UIKit/UIImage.h"
#include "sim/ShowcaseScenario.h"
#include "sim/TextUtilities.h"
#include "sim/app/SimulatorApp.h"
#include "sim/pictures/DeviceRenderer.h"
#include "support/ScopedTestDevice.h"

namespace sim {
namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::shared_ptr<UIImage> readPng(const std::filesystem::path& path) {
  const std::string bytes = slurp(path);
  return UIImage::imageWithData(Foundation::Data(bytes.begin(), bytes.end()));
}

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

struct RunResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// A number field of a JSON Lines event, e.g. numberField(line, "x").
std::optional<double> numberField(const std::string& line, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  const std::size_t at = line.find(marker);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t start = at + marker.size();
  std::size_t end = start;
  while (end < line.size() && line[end] != ',' && line[end] != '}') ++end;
  return parseReal(line.substr(start, end - start));
}

std::vector<std::string> eventLines(const std::string& out, const std::string& ev,
                                    const std::string& also = "") {
  std::vector<std::string> found;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("\"ev\":\"" + ev + "\"") == std::string::npos) continue;
    if (!also.empty() && line.find(also) == std::string::npos) continue;
    found.push_back(line);
  }
  return found;
}

class SimPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.valid()); }

  std::filesystem::path path(const std::string& name) const { return folder_.path() / name; }

  std::string write(const std::string& name, const std::string& text) {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name).string();
  }

  // Runs the built simulator in `workingDirectory` (the test's folder by default), with its
  // output going to files: no terminal.
  RunResult sim(const std::vector<std::string>& arguments,
                const std::optional<std::filesystem::path>& workingDirectory = std::nullopt) {
    std::string command = "cd " + shellQuoted(workingDirectory.value_or(folder_.path()).string()) +
                          " && " + shellQuoted(GW_SIM_BINARY);
    for (const auto& argument : arguments) command += " " + shellQuoted(argument);
    command +=
        " >" + shellQuoted(path("stdout").string()) + " 2>" + shellQuoted(path("stderr").string());
    RunResult result;
    const int status = std::system(command.c_str());
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(path("stdout"));
    result.err = slurp(path("stderr"));
    return result;
  }

  TemporaryFolder folder_{"gyrowhirl-pictures-test-"};
};

// A red 100-point button, offered at 3 s and withdrawn after its 1 s interval.
constexpr const char* kRedButtonScenario =
    "pref pColorPickerFABBgColor \"#FF0000:1\"\n"
    "pref pSegmentedButtonSize 3\n"
    "pref pSliderDisappearInterval 1\n"
    "app com.example.reader\n"
    "at 0 boot\n"
    "at 0 front com.example.reader\n"
    "at 0 orientationlock on\n"
    "at 0 turn portrait\n"
    "at 3 turn landscape\n"
    "end 6\n";

// The frames in `directory` by their time, read back from their names.
std::map<double, std::filesystem::path> framesIn(const std::filesystem::path& directory) {
  std::map<double, std::filesystem::path> frames;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("frame-") || !name.ends_with(".png")) continue;
    auto time = parseReal(name.substr(6, name.size() - 6 - 4));
    if (time) frames[*time] = entry.path();
  }
  return frames;
}

bool isRed(std::uint32_t pixel) {
  const int r = static_cast<int>((pixel >> 16) & 0xFF);
  const int g = static_cast<int>((pixel >> 8) & 0xFF);
  const int b = static_cast<int>(pixel & 0xFF);
  return r > 200 && g < 60 && b < 60;
}

TEST_F(SimPicturesTest, FramesShowTheButtonAfterItIsShownAndNotAfterItIsRemoved) {
  const std::string scenario = write("red.scn", kRedButtonScenario);
  const std::filesystem::path frames = path("frames");
  RunResult r = sim({"run", scenario, "--jsonl", "--render", frames.string()});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // With JSON Lines, where the pictures are goes to stderr: stdout stays JSON.
  EXPECT_NE(r.err.find("pictures: "), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("pictures"), std::string::npos);
  // Drawing steps the clock from task to task; what happens stays the same.
  RunResult plain = sim({"run", scenario, "--jsonl"});
  ASSERT_EQ(plain.exitStatus, 0) << plain.err;
  EXPECT_EQ(plain.out, r.out);

  const auto shown = eventLines(r.out, "button", "\"shown\"");
  const auto removed = eventLines(r.out, "button", "\"removed\"");
  ASSERT_EQ(shown.size(), 1u) << r.out;
  ASSERT_EQ(removed.size(), 1u) << r.out;
  const double shownAt = *numberField(shown[0], "t");
  const double removedAt = *numberField(removed[0], "t");
  const double x = *numberField(shown[0], "x");
  const double y = *numberField(shown[0], "y");
  const double size = *numberField(shown[0], "w");
  ASSERT_EQ(size, 100);

  const auto all = framesIn(frames);
  ASSERT_FALSE(all.empty());
  // The last frame of the fade-in, and the first frame once the button is gone.
  std::optional<std::filesystem::path> afterShown;
  std::optional<std::filesystem::path> afterRemoved;
  for (const auto& [time, file] : all) {
    if (time >= shownAt && time <= shownAt + 0.25) afterShown = file;
    if (time >= removedAt && !afterRemoved) afterRemoved = file;
  }
  ASSERT_TRUE(afterShown) << "no frame while the button fades in";
  ASSERT_TRUE(afterRemoved) << "no frame after the button is removed";

  // Where the button's disc lies in the picture of the phone held in landscape; the lock
  // image covers its middle, so look at a ring around it.
  ScopedTestDevice device;
  MotionHardware::of(device.device()).setAttitude(1.5, 0);
  DeviceRenderer renderer;
  auto ringPixels = [&](const UIImage& image) {
    int red = 0;
    const int points = 12;
    for (int k = 0; k < points; ++k) {
      const double angle = 2 * std::numbers::pi * k / points;
      const CGPoint screen = CGPointMake(x + size / 2 + 0.4 * size * std::cos(angle),
                                         y + size / 2 + 0.4 * size * std::sin(angle));
      const CGPoint pixel = renderer.imagePointForScreenPoint(device.device(), screen);
      red += isRed(image.pixelAt(static_cast<int>(pixel.x), static_cast<int>(pixel.y)));
    }
    return red;
  };
  auto shownImage = readPng(*afterShown);
  auto removedImage = readPng(*afterRemoved);
  ASSERT_TRUE(shownImage && removedImage);
  EXPECT_EQ(shownImage->pixelWidth(), static_cast<int>(renderer.imageSize(device.device()).width));
  EXPECT_GE(ringPixels(*shownImage), 10) << afterShown->string();
  EXPECT_EQ(ringPixels(*removedImage), 0) << afterRemoved->string();

  // The storyboard is a picture too.
  auto storyboard = readPng(frames / "storyboard.png");
  ASSERT_TRUE(storyboard);
  EXPECT_GT(storyboard->pixelWidth(), 0);
}

TEST_F(SimPicturesTest, PlotsArePngOrSvgAndFollowWhatTheSystemDid) {
  // Upright, on its side from 3 s to 8 s, upright again.
  std::string csv = "t,roll,pitch\n";
  for (int i = 0; i <= 120; ++i) {
    const double t = i * 0.1;
    const bool side = t >= 3 && t < 8;
    csv += formatShortest(t) + (side ? ",1.5,0\n" : ",0,1.4\n");
  }
  const std::string trace = write("turn.csv", csv);
  const std::string accept = write("accept.scn",
                                   "app com.example.app\n"
                                   "at 0 boot\n"
                                   "at 0 front com.example.app\n"
                                   "at 0 orientationlock on\n"
                                   "at 3.5 tap\n");

  RunResult alone = sim({"plot", trace, "-o", path("alone.svg").string()});
  ASSERT_EQ(alone.exitStatus, 0) << alone.err;
  RunResult accepted = sim({"plot", trace, accept, "-o", path("accepted.svg").string()});
  ASSERT_EQ(accepted.exitStatus, 0) << accepted.err;
  const std::string aloneSvg = slurp(path("alone.svg"));
  const std::string acceptedSvg = slurp(path("accepted.svg"));
  EXPECT_NE(aloneSvg.find("<svg"), std::string::npos);
  EXPECT_NE(acceptedSvg.find("<svg"), std::string::npos);
  // The accepted suggestion lifts the lock: a span the plot of the run alone does not have.
  EXPECT_NE(aloneSvg, acceptedSvg);

  RunResult png = sim({"plot", trace, accept, "-o", path("accepted.PNG").string()});
  ASSERT_EQ(png.exitStatus, 0) << png.err;
  auto image = readPng(path("accepted.PNG"));
  ASSERT_TRUE(image);
  EXPECT_GT(image->pixelWidth(), 0);

  // Bad usage and bad input: exit status 2, nothing written.
  struct Case {
    std::vector<std::string> arguments;
    const char* errStart;
  };
  const Case bad[] = {
      {{"plot", trace, "-o", path("x.jpg").string()}, "gyrowhirl-sim: -o: "},
      {{"plot", trace}, "gyrowhirl-sim: plot needs -o"},
      {{"plot", write("bad.csv", "t,roll\n0,0\n"), "-o", path("y.png").string()}, ""},
  };
  for (const Case& c : bad) {
    RunResult r = sim(c.arguments);
    EXPECT_EQ(r.exitStatus, 2) << r.err;
    EXPECT_TRUE(r.err.starts_with(c.errStart)) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(path("x.jpg")));
  EXPECT_FALSE(std::filesystem::exists(path("y.png")));
}

TEST_F(SimPicturesTest, TheShowcaseRunsFromAnyFolderAndTellsTheWholeStory) {
  // The built-in text is the examples folder's file.
  EXPECT_EQ(ShowcaseScenario::text(), slurp(GW_SOURCE_DIR "/examples/showcase.scn"));

  const std::filesystem::path elsewhere = path("elsewhere");
  std::filesystem::create_directories(elsewhere);
  RunResult human = sim({}, elsewhere);
  ASSERT_EQ(human.exitStatus, 0) << human.err;
  EXPECT_NE(human.out.find("summary:"), std::string::npos);
  EXPECT_EQ(human.out.find('\x1b'), std::string::npos) << "no colour when stdout is a file";
  EXPECT_EQ(human.err.find("gyrowhirl-sim:"), std::string::npos) << human.err;

  RunResult json = sim({"--jsonl"}, elsewhere);
  ASSERT_EQ(json.exitStatus, 0) << json.err;
  const auto shown = eventLines(json.out, "button", "\"shown\"");
  const auto moved = eventLines(json.out, "button", "\"moved\"");
  ASSERT_GE(shown.size(), 3u) << json.out;
  ASSERT_FALSE(moved.empty()) << "the showcase drags a button";
  // Accepted (the tweak lifts the lock) and withdrawn suggestions both happen.
  EXPECT_FALSE(eventLines(json.out, "lock", "\"on\":false,\"by\":\"tweak\"").empty());
  EXPECT_GT(eventLines(json.out, "button", "\"removed\"").size(), 1u);
  // After the respring, the button comes where the drag left it, with a new size.
  const auto boots = eventLines(json.out, "boot");
  ASSERT_GE(boots.size(), 2u);
  const double respringAt = *numberField(boots.back(), "t");
  std::optional<std::string> firstAfterRespring;
  for (const auto& line : shown) {
    if (*numberField(line, "t") > respringAt) {
      firstAfterRespring = line;
      break;
    }
  }
  ASSERT_TRUE(firstAfterRespring) << json.out;
  EXPECT_EQ(numberField(*firstAfterRespring, "x"), numberField(moved.back(), "x"));
  EXPECT_EQ(numberField(*firstAfterRespring, "y"), numberField(moved.back(), "y"));
  EXPECT_GT(*numberField(*firstAfterRespring, "w"), *numberField(shown.front(), "w"));
  // The last two landscape reports (the portrait-only and the blacklisted app) bring no button.
  const auto landscape = eventLines(json.out, "orientation", "\"value\":2");
  ASSERT_GE(landscape.size(), 2u);
  const double secondLast = *numberField(landscape[landscape.size() - 2], "t");
  EXPECT_LT(*numberField(shown.back(), "t"), secondLast);
}

TEST_F(SimPicturesTest, ColourOnATerminalOnlyAndNeverWhenTurnedOff) {
  const std::string scenario = write("red.scn", kRedButtonScenario);
  struct Case {
    SimulatorApp::Terminal terminal;
    std::vector<std::string> extra;
    bool colour;
  };
  const Case cases[] = {
      {{false, false, false}, {}, false},
      {{true, false, false}, {}, true},
      {{true, false, false}, {"--no-color"}, false},
      {{true, false, true}, {}, false},  // NO_COLOR
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"run", scenario};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(SimulatorApp::main(arguments, out, err, c.terminal), 0) << err.str();
    EXPECT_EQ(out.str().find('\x1b') != std::string::npos, c.colour) << out.str();
    EXPECT_NE(out.str().find("button shown at"), std::string::npos);
  }
  // JSON Lines never carry colour, whatever the terminal.
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(SimulatorApp::main({"run", scenario, "--jsonl"}, out, err, {true, true, false}), 0);
  EXPECT_EQ(out.str().find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace sim
