// Motion plots: valid PNG and SVG files whose content follows the samples and the events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Device/TemporaryFolder.h"
#include "UIKit/UIImage.h"
#include "VXCommon/VXOrientationClassifier.h"
#include "sim/pictures/MotionPlot.h"
#include "support/MotionRecordings.h"

namespace sim {
namespace {

using Foundation::Value;

std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::shared_ptr<UIImage> readPng(const std::filesystem::path& path) {
  const std::string bytes = readText(path);
  return UIImage::imageWithData(Foundation::Data(bytes.begin(), bytes.end()));
}

// Pixels of exactly the opaque colour 0xRRGGBB.
int countColour(const UIImage& image, std::uint32_t rgb) {
  int count = 0;
  for (std::uint32_t pixel : image.pixels()) {
    if (pixel == (0xFF000000u | rgb)) ++count;
  }
  return count;
}

TimelineEvent event(double time, const char* name, Foundation::Dictionary fields = {}) {
  return {time, name, std::move(fields)};
}
TimelineEvent button(double time, const char* state) {
  return event(time, "button", {{"state", Value::string(state)}});
}
TimelineEvent lock(double time, bool on, const char* by) {
  return event(time, "lock", {{"on", Value::boolean(on)}, {"by", Value::string(by)}});
}

// Ten seconds of turning from portrait to landscape and back, at 100 Hz.
void addTurningSamples(MotionPlot& plot) {
  for (int i = 0; i <= 1000; ++i) {
    const double t = i / 100.0;
    const double phase = std::sin(t / 10 * 2 * 3.141592653589793);
    plot.addSample({t, 1.5 * std::abs(phase), 1.4 * (1 - std::abs(phase))});
  }
}

class MotionPlotTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.valid()); }
  std::filesystem::path file(const std::string& name) const { return folder_.path() / name; }

  TemporaryFolder folder_{"gyrowhirl-plot-test-"};
};

// The drawn bands sit exactly where the tweak library's classifier changes its answer.
TEST_F(MotionPlotTest, BandsAreDrawnOnTheClassifiersBoundaries) {
  using C = VXOrientationClassifier;
  const double up = HUGE_VAL;
  struct Case {
    double roll, pitch;
    std::uint64_t expected;
  };
  const Case cases[] = {
      {MotionPlot::kLandscapeMinAbsRollRadians, 0, C::kNone},
      {std::nextafter(MotionPlot::kLandscapeMinAbsRollRadians, up), 0, C::kLandscape},
      {MotionPlot::kLandscapeMaxAbsRollRadians, 0, C::kNone},
      {std::nextafter(MotionPlot::kLandscapeMaxAbsRollRadians, 0), 0, C::kLandscape},
      {1.0, MotionPlot::kLandscapeMaxAbsPitchRadians, C::kNone},
      {1.0, std::nextafter(MotionPlot::kLandscapeMaxAbsPitchRadians, 0), C::kLandscape},
      {0, MotionPlot::kPortraitMinAbsPitchRadians, C::kPortrait},
      {0, -MotionPlot::kPortraitMinAbsPitchRadians, C::kPortrait},
      {0, std::nextafter(MotionPlot::kPortraitMinAbsPitchRadians, 0), C::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C::classify(c.roll, c.pitch), c.expected)
        << "roll " << c.roll << " pitch " << c.pitch;
  }
}

TEST_F(MotionPlotTest, WritesPngAndSvgChosenByExtension) {
  PlotOptions options;
  options.title = "Turning";
  options.widthPixels = 900;
  options.heightPixels = 600;
  MotionPlot plot(options);
  addTurningSamples(plot);
  plot.addEvent(event(0, "boot"));
  plot.addEvent(event(2.1, "orientation", {{"value", Value::integer(2)}}));
  std::string error;

  ASSERT_TRUE(plot.write(file("plot.png"), error)) << error;
  auto image = readPng(file("plot.png"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixelWidth(), 900);
  EXPECT_EQ(image->pixelHeight(), 600);

  for (const char* name : {"plot.svg", "PLOT.SVG"}) {
    ASSERT_TRUE(plot.write(file(name), error)) << error;
    const std::string svg = readText(file(name));
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << name;
    EXPECT_NE(svg.find("<svg"), std::string::npos) << name;
    EXPECT_NE(svg.find("</svg>"), std::string::npos) << name;
  }

  EXPECT_FALSE(plot.write(file("plot.jpg"), error));
  EXPECT_NE(error.find(".png or .svg"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file("plot.jpg")));
  EXPECT_FALSE(plot.write(file("missing/plot.png"), error));
}

TEST_F(MotionPlotTest, SpansFollowTheEvents) {
  // Green bars only for suggestions the tweak's lifting of the lock accepted; purple only for
  // the lock the tweak lifted, until it comes back.
  constexpr std::uint32_t kAcceptedGreen = 0x34C759;
  constexpr std::uint32_t kLiftedPurple = 0xAF52DE;
  struct Case {
    const char* name;
    std::vector<TimelineEvent> events;
    bool accepted;
    bool lifted;
  };
  const Case cases[] = {
      {"no events", {}, false, false},
      {"withdrawn", {button(2, "shown"), button(4, "removed")}, false, false},
      {"accepted",
       {button(2, "shown"), lock(3, false, "tweak"), button(3, "removed"), lock(6, true, "tweak")},
       true,
       true},
      {"the user unlocked while it was up",
       {button(2, "shown"), lock(3, false, "user"), button(4, "removed")},
       false,
       false},
      {"lifted after the button went",
       {button(2, "shown"), button(3, "removed"), lock(4, false, "tweak")},
       false,
       true},
  };
  int legendGreen = -1, legendPurple = -1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MotionPlot plot;
    addTurningSamples(plot);
    for (const auto& e : c.events) plot.addEvent(e);
    std::string error;
    ASSERT_TRUE(plot.write(file("spans.png"), error)) << error;
    auto image = readPng(file("spans.png"));
    ASSERT_TRUE(image);
    const int green = countColour(*image, kAcceptedGreen);
    const int purple = countColour(*image, kLiftedPurple);
    if (legendGreen < 0) {
      legendGreen = green;  // the legend's swatches, with no span drawn
      legendPurple = purple;
      EXPECT_GT(legendGreen, 0);
    }
    EXPECT_EQ(green > legendGreen + 100, c.accepted);
    EXPECT_EQ(purple > legendPurple + 100, c.lifted);
  }
}

TEST_F(MotionPlotTest, LongTracesKeepTheirExtremesInASmallFile) {
  // A day at 20 Hz lying still, with one jolt of roll in the middle.
  MotionPlot plot;
  const int samples = 24 * 3600 * 20;
  for (int i = 0; i < samples; ++i) {
    const double roll = i == samples / 2 ? 3.0 : 0.01;
    plot.addSample({i / 20.0, roll, 1.4});
  }
  EXPECT_EQ(plot.sampleCount(), static_cast<std::uint64_t>(samples));
  std::string error;
  ASSERT_TRUE(plot.write(file("day.svg"), error)) << error;
  EXPECT_LT(std::filesystem::file_size(file("day.svg")), 2u * 1024 * 1024);

  ASSERT_TRUE(plot.write(file("day.png"), error)) << error;
  auto image = readPng(file("day.png"));
  ASSERT_TRUE(image);
  // The jolt reaches the top of the roll panel (which starts below the 104-pixel header).
  int jolt = 0;
  for (int y = 106; y < 140; ++y) {
    for (int x = 110; x < image->pixelWidth() - 30; ++x) {
      const std::uint32_t pixel = image->pixelAt(x, y);
      const int r = (pixel >> 16) & 0xFF, b = pixel & 0xFF;
      if (b - r > 40 && r < 200) ++jolt;  // the roll line's deep blue, even where antialiased
    }
  }
  EXPECT_GT(jolt, 5);
}

// A phone held upside down turns slowly through ±π, where roll jumps from +π to −π: the
// line leaves the roll panel at one edge and comes back at the other, with no stroke across
// the panel, whether each sample has a column of its own or many share one.
TEST_F(MotionPlotTest, RollWrappingAroundIsABreakNotAStrokeAcross) {
  for (const int samplesPerSecond : {10, 100, 20000}) {
    SCOPED_TRACE(samplesPerSecond);
    MotionPlot plot;
    const int seconds = 20;
    for (int i = 0; i <= seconds * samplesPerSecond; ++i) {
      const double t = static_cast<double>(i) / samplesPerSecond;
      // 2.8 rad turning to 3.6 rad, as recorded: from +2.8 through +π to −2.68; with jitter.
      const double turned = 2.8 + 0.8 * t / seconds + 0.02 * std::sin(t * 40);
      plot.addSample({t, std::remainder(turned, 2 * 3.141592653589793), 0.1});
    }
    std::string error;
    ASSERT_TRUE(plot.write(file("wrap.png"), error)) << error;
    auto image = readPng(file("wrap.png"));
    ASSERT_TRUE(image);
    // The longest vertical run of the roll line's deep blue, in any pixel column.
    int longest = 0;
    for (int x = 0; x < image->pixelWidth(); ++x) {
      int run = 0;
      for (int y = 0; y < image->pixelHeight(); ++y) {
        const std::uint32_t pixel = image->pixelAt(x, y);
        const int r = (pixel >> 16) & 0xFF, b = pixel & 0xFF;
        run = b - r > 40 && r < 200 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
    }
    EXPECT_LT(longest, 60);  // the roll panel is several hundred pixels tall
  }
}

TEST_F(MotionPlotTest, PlotsARecordedTraceFile) {
  GW_NEED_MOTION_RECORDINGS(recordings);
  const std::filesystem::path trace = recordings / "tyrex_texting_thibaud_iphone5_nodist.csv";
  std::string error;
  ASSERT_TRUE(
      MotionPlot::plotTrace(trace.string(), {event(0, "boot")}, file("texting.png"), {}, error))
      << error;
  EXPECT_TRUE(readPng(file("texting.png")));

  std::ofstream(file("bad.csv")) << "t,roll,pitch\n0,0,0\n1,zero,0\n";
  EXPECT_FALSE(MotionPlot::plotTrace(file("bad.csv").string(), {}, file("bad.png"), {}, error));
  EXPECT_NE(error.find("bad.csv:3"), std::string::npos) << error;
}

}  // namespace
}  // namespace sim
