// Replays the real attitude recordings through the motion helper on the virtual clock and
// checks its reports against the classification rule applied, at each sampling tick, to the
// latest sample: what the helper reports must follow from the samples alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "VXCommon/VXMotionHelper.h"
#include "VXCommon/VXOrientationClassifier.h"
#include "support/MotionRecordings.h"
#include "support/ScopedTestDevice.h"

namespace {

struct Sample {
  double t;
  double roll;
  double pitch;
};

struct Report {
  double time;
  std::uint64_t orientation;
  friend bool operator==(const Report&, const Report&) = default;
};

std::ostream& operator<<(std::ostream& out, const Report& report) {
  return out << report.orientation << "@" << report.time;
}

// Reads the "t", "roll" and "pitch" columns, in whatever order the header gives them.
std::vector<Sample> readTrace(const std::filesystem::path& path, std::string& error) {
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) {
    error = "empty file";
    return {};
  }
  int tColumn = -1, rollColumn = -1, pitchColumn = -1;
  {
    std::stringstream header(line);
    std::string name;
    for (int column = 0; std::getline(header, name, ','); ++column) {
      if (!name.empty() && name.back() == '\r') name.pop_back();
      if (name == "t") tColumn = column;
      if (name == "roll") rollColumn = column;
      if (name == "pitch") pitchColumn = column;
    }
  }
  if (tColumn < 0 || rollColumn < 0 || pitchColumn < 0) {
    error = "header lacks t, roll or pitch";
    return {};
  }
  std::vector<Sample> samples;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::stringstream row(line);
    std::string cell;
    Sample sample{};
    for (int column = 0; std::getline(row, cell, ','); ++column) {
      if (column == tColumn) sample.t = std::strtod(cell.c_str(), nullptr);
      if (column == rollColumn) sample.roll = std::strtod(cell.c_str(), nullptr);
      if (column == pitchColumn) sample.pitch = std::strtod(cell.c_str(), nullptr);
    }
    samples.push_back(sample);
  }
  return samples;
}

// The rule alone: at each tick k × interval (the timer starts at 0 and never drifts), take the
// latest sample at or before the tick and report its class when it differs from the last one
// reported.
std::vector<Report> referenceReports(const std::vector<Sample>& samples) {
  std::vector<Report> reports;
  std::uint64_t current = 0;
  std::size_t next = 0;
  double roll = 0, pitch = 0;  // no sample yet reads as 0.0
  const double end = samples.back().t;
  for (std::uint64_t k = 1;; ++k) {
    const double tick = static_cast<double>(k) * VXMotionHelper::kSamplingIntervalSeconds;
    if (tick > end) break;
    while (next < samples.size() && samples[next].t <= tick) {
      roll = samples[next].roll;
      pitch = samples[next].pitch;
      ++next;
    }
    const std::uint64_t orientation = VXOrientationClassifier::classify(roll, pitch);
    if (orientation != VXOrientationClassifier::kNone && orientation != current) {
      reports.push_back({tick, orientation});
      current = orientation;
    }
  }
  return reports;
}

class TimedRecorder : public VXMotionDelegate {
 public:
  explicit TimedRecorder(Device& device) : device_(device) {}
  void orientationChanged(std::uint64_t orientation) override {
    reports.push_back({device_.now(), orientation});
  }
  std::vector<Report> reports;

 private:
  Device& device_;
};

const std::map<std::string, std::size_t> kKnownReportCounts = {
    {"tyrex_ar_guillaume_iphone4s_dist.csv", 6},
    {"tyrex_ar_guillaume_iphone5_dist.csv", 6},
    {"tyrex_frontpocket_thibaud_iphone5_nodist.csv", 1},
    {"tyrex_phoning_thibaud_iphone5_nodist.csv", 2},
    {"tyrex_swinging_jakob_iphone4s_nodist.csv", 116},
    {"tyrex_texting_thibaud_iphone5_nodist.csv", 0},
};

std::vector<std::filesystem::path> traces(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(VXMotionTraceReplayTest, ReportsEqualTheRuleAtEachTickOnTheLatestSample) {
  GW_NEED_MOTION_RECORDINGS(recordings);
  const auto files = traces(recordings);
  ASSERT_FALSE(files.empty()) << "no recordings (*.csv) in " << recordings;

  std::size_t totalReports = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    std::string error;
    const std::vector<Sample> samples = readTrace(file, error);
    ASSERT_FALSE(samples.empty()) << error;

    ScopedTestDevice device;
    auto& hardware = MotionHardware::of(device.device());
    auto recorder = std::make_shared<TimedRecorder>(device.device());
    auto helper = VXMotionHelper::initWithDelegate(recorder);
    helper->run();

    // Each sample holds from its own time until the next one: run the clock up to just
    // before the next sample's time, so a tick falling exactly on a sample sees that sample.
    for (std::size_t i = 0; i < samples.size(); ++i) {
      hardware.setAttitude(samples[i].roll, samples[i].pitch);
      const double until =
          i + 1 < samples.size() ? std::nextafter(samples[i + 1].t, 0.0) : samples.back().t;
      device.device().runUntil(until);
    }

    const std::vector<Report> expected = referenceReports(samples);
    EXPECT_EQ(recorder->reports, expected);
    // Counts worked out independently of this code base from the same recordings.
    if (auto known = kKnownReportCounts.find(file.filename().string());
        known != kKnownReportCounts.end()) {
      EXPECT_EQ(expected.size(), known->second);
    }
    totalReports += expected.size();
  }
  EXPECT_GT(totalReports, 0u) << "the recordings should turn the device at least once";
}

}  // namespace
