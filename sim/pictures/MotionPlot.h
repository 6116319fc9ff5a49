// A picture of a motion trace and what the system made of it: roll and pitch over time with the
// classifier's bands (the landscape band 0.7 < |roll| < 1.6 with |pitch| < 0.5, the portrait
// region |pitch| >= 0.5), the class of every moment, the orientation reports as markers, and
// the spans of suggestions shown, accepted and of the lifted orientation lock as coloured
// bars; a title, a legend and a time axis. Written as PNG or SVG, chosen by the file's
// extension.
//
// Samples are taken one at a time, in time order, into a min/max envelope per pixel column,
// so a trace of a day at 100 Hz costs no more memory, drawing time or file size than one of a
// minute. Events are the timeline's (TimelineEvent): "orientation" (value 1|2), "button"
// (state "shown"|"removed"), "lock" (on, by "user"|"tweak") and "boot"; others are ignored.
//
//   MotionPlot plot({.title = "Walking"});
//   for each sample: plot.addSample(sample);
//   for each event:  plot.addEvent(event);
//   plot.write("walk.svg", error);
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "VXCommon/VXOrientationClassifier.h"
#include "sim/TimelineEvent.h"
#include "sim/TraceReader.h"

typedef struct _cairo cairo_t;

namespace sim {

struct PlotOptions {
  std::string title = "Motion trace";
  std::string subtitle;  // under the title; the span and sample count are added to it
  int widthPixels = 1400;
  int heightPixels = 860;
};

class MotionPlot {
 public:
  // Where the bands of the tweak library's classifier (VXOrientationClassifier, which colours
  // the class strip) are drawn, in radians. Its pitch tests round to the nearest whole radian,
  // so "round(pitch) == 0" is |pitch| < 0.5.
  static constexpr double kLandscapeMinAbsRollRadians =
      VXOrientationClassifier::kLandscapeMinAbsRollRadians;  // exclusive
  static constexpr double kLandscapeMaxAbsRollRadians =
      VXOrientationClassifier::kLandscapeMaxAbsRollRadians;    // exclusive
  static constexpr double kLandscapeMaxAbsPitchRadians = 0.5;  // exclusive
  static constexpr double kPortraitMinAbsPitchRadians = 0.5;   // inclusive
  // Envelope columns per pixel of the plot's width.
  static constexpr int kColumnsPerPixel = 2;

  explicit MotionPlot(PlotOptions options = {});

  // Samples must come in non-decreasing time order; one earlier than the first sample, or
  // with a roll or pitch that is not a number, is ignored.
  void addSample(const TraceSample& sample);
  void addEvent(const TimelineEvent& event);

  // Writes the plot: PNG for ".png", SVG for ".svg" (any case). False, with the reason in
  // `error`, for another extension or a file that cannot be written.
  bool write(const std::filesystem::path& file, std::string& error) const;

  std::uint64_t sampleCount() const { return sampleCount_; }

  // Reads the trace at `tracePath` (TraceReader's format) into a plot with `events` and
  // writes `output`. False with a message ("FILE:LINE: ...") when the trace is bad or the
  // file cannot be written.
  static bool plotTrace(const std::string& tracePath, const std::vector<TimelineEvent>& events,
                        const std::filesystem::path& output, PlotOptions options,
                        std::string& error);

 private:
  struct Envelope {
    double first = 0, last = 0, min = 0, max = 0;
  };
  struct Column {
    std::uint32_t count = 0;
    // Roll is kept unwrapped (see unwrappedRoll_), so that a column crossing ±π spans only
    // the few hundredths of a radian the device really turned.
    Envelope roll, pitch;
    std::uint32_t landscape = 0, portrait = 0;  // samples of each class
  };
  struct Frame;  // the layout of one drawing

  static void mergeInto(Column& into, const Column& from);
  void widenColumns();
  void draw(cairo_t* cr) const;
  void drawPanel(cairo_t* cr, const Frame& frame, bool roll) const;
  void drawClassStrip(cairo_t* cr, const Frame& frame) const;
  void drawReports(cairo_t* cr, const Frame& frame) const;
  void drawSpans(cairo_t* cr, const Frame& frame) const;
  void drawTimeAxis(cairo_t* cr, const Frame& frame) const;
  void drawLegend(cairo_t* cr, const Frame& frame) const;

  PlotOptions options_;
  std::vector<Column> columns_;
  bool started_ = false;
  double originSeconds_ = 0;      // time of column 0's start
  double columnSeconds_ = 0.001;  // time one column spans; doubles as the trace grows
  double firstSampleTime_ = 0;
  double lastSampleTime_ = 0;
  double maxAbsRoll_ = 0;
  // The last sample's roll as recorded (-π..π) and as turned through since the first sample:
  // a step across ±π counts as the short way round, so the line breaks at the panel's edge
  // there instead of crossing the whole panel.
  double lastRoll_ = 0;
  double unwrappedRoll_ = 0;
  std::uint64_t sampleCount_ = 0;
  std::vector<TimelineEvent> events_;
};

}  // namespace sim
