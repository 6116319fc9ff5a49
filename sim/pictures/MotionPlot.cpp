#include "sim/pictures/MotionPlot.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "VXCommon/VXOrientationClassifier.h"
#include "sim/pictures/CairoCanvas.h"

namespace sim {
namespace {

constexpr double kPi = std::numbers::pi;
// Envelope columns the plot starts with (kColumnsPerPixel for each pixel of the widest plot
// area is more than enough): a fixed count, so memory does not grow with the trace.
constexpr double kFirstColumnSeconds = 0.001;

const Rgba kInk = rgbHex(0x1C1C1E);
const Rgba kSecondaryInk = rgbHex(0x636366);
const Rgba kGrid = rgbHex(0xD1D1D6);
const Rgba kRollLine = rgbHex(0x1F3A93);
const Rgba kPitchLine = rgbHex(0x1E7B45);
const Rgba kLandscape = rgbHex(0xFF9500);
const Rgba kPortrait = rgbHex(0x0A84FF);
const Rgba kShown = rgbHex(0x5856D6);
const Rgba kAccepted = rgbHex(0x34C759);
const Rgba kLifted = rgbHex(0xAF52DE);
const Rgba kUserOff = rgbHex(0x8E8E93);

// ---- events into spans ----------------------------------------------------------------------

struct Span {
  double from = 0;
  double to = 0;
};

struct Story {
  std::vector<Span> shown;
  std::vector<Span> accepted;
  std::vector<Span> liftedByTweak;              // the lock off after the tweak lifted it
  std::vector<Span> offByUser;                  // the lock off after the user turned it off
  std::vector<std::pair<double, int>> reports;  // time, 1 portrait | 2 landscape
  std::vector<double> boots;
};

std::string stringField(const TimelineEvent& event, std::string_view key) {
  const Foundation::Value* value = event.fields.find(key);
  return value && value->stringValue() ? *value->stringValue() : std::string();
}

// Reads the story off the events; spans still open at the end run to `endTime`.
Story storyOf(const std::vector<TimelineEvent>& events, double endTime) {
  Story story;
  bool shown = false;
  double shownSince = 0;
  bool tweakLiftedWhileShown = false;
  bool lockOff = false;
  double lockOffSince = 0;
  bool liftedByTweak = false;
  auto closeShown = [&](double time) {
    if (!shown) return;
    story.shown.push_back({shownSince, time});
    if (tweakLiftedWhileShown) story.accepted.push_back({shownSince, time});
    shown = false;
    tweakLiftedWhileShown = false;
  };
  auto closeLockOff = [&](double time) {
    if (!lockOff) return;
    (liftedByTweak ? story.liftedByTweak : story.offByUser).push_back({lockOffSince, time});
    lockOff = false;
  };
  for (const TimelineEvent& event : events) {
    if (event.name == "orientation") {
      const int value = event.fields.valueForKey("value").intValue();
      if (value == 1 || value == 2) story.reports.emplace_back(event.time, value);
    } else if (event.name == "button") {
      const std::string state = stringField(event, "state");
      if (state == "shown") {
        closeShown(event.time);
        shown = true;
        shownSince = event.time;
      } else if (state == "removed") {
        closeShown(event.time);
      }
    } else if (event.name == "lock") {
      if (event.fields.valueForKey("on").boolValue()) {
        closeLockOff(event.time);
      } else if (!lockOff) {
        lockOff = true;
        lockOffSince = event.time;
        liftedByTweak = stringField(event, "by") == "tweak";
        // A suggestion is accepted when the tweak lifts the lock while its button is up.
        if (liftedByTweak && shown) tweakLiftedWhileShown = true;
      }
    } else if (event.name == "boot") {
      story.boots.push_back(event.time);
    }
  }
  closeShown(endTime);
  closeLockOff(endTime);
  return story;
}

// ---- axes ------------------------------------------------------------------------------------

// A step between time ticks that gives about `wanted` ticks over `span` seconds.
double timeStep(double span, int wanted) {
  static constexpr std::array kSteps{
      0.01, 0.02,  0.05,  0.1,   0.2,   0.5,    1.0,    2.0,    5.0,     10.0,    15.0,    30.0,
      60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0, 21600.0, 43200.0, 86400.0};
  for (double step : kSteps) {
    if (span / step <= wanted) return step;
  }
  return std::ceil(span / wanted / 86400.0) * 86400.0;
}

std::string timeLabel(double seconds, double step, double span) {
  char text[48];
  if (span >= 7200) {
    const long long minutes = std::llround(seconds / 60);
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes / 60, minutes % 60);
  } else if (span >= 600) {
    const long long whole = std::llround(seconds);
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  } else {
    const int decimals = step >= 1 ? 0 : (step >= 0.1 ? 1 : 2);
    std::snprintf(text, sizeof text, "%.*f", decimals, seconds);
  }
  return text;
}

std::string durationWords(double seconds) {
  char text[64];
  if (seconds < 120) {
    std::snprintf(text, sizeof text, "%.1f s", seconds);
  } else if (seconds < 7200) {
    std::snprintf(text, sizeof text, "%.0f min %.0f s", std::floor(seconds / 60),
                  std::fmod(std::floor(seconds), 60.0));
  } else {
    std::snprintf(text, sizeof text, "%.0f h %.0f min", std::floor(seconds / 3600),
                  std::fmod(std::floor(seconds / 60), 60.0));
  }
  return text;
}

std::string groupedCount(std::uint64_t count) {
  std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string lowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

void fillRect(cairo_t* cr, double x0, double y0, double x1, double y1, const Rgba& color) {
  cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
  CairoCanvas::setColor(cr, color);
  cairo_fill(cr);
}

void rowLabel(cairo_t* cr, double right, double centerY, std::string_view text) {
  TextStyle style{12, Weight::Regular, kSecondaryInk, Align::Right};
  CairoCanvas::drawText(cr, text, right, centerY + 4, style);
}

}  // namespace

// ---- layout --------------------------------------------------------------------------------

struct MotionPlot::Frame {
  double width = 0, height = 0;
  double left = 0, right = 0;  // the plot area's x range, pixels
  double t0 = 0, t1 = 1;       // its time range, seconds
  double rollTop = 0, rollBottom = 0, rollRange = kPi;
  double pitchTop = 0, pitchBottom = 0;
  double classTop = 0, classBottom = 0;
  double reportsTop = 0, reportsBottom = 0;
  double barsTop = 0, barHeight = 16, barGap = 8;
  double axisTop = 0;
  Story story;

  double x(double t) const { return left + (t - t0) / (t1 - t0) * (right - left); }
  double rollY(double roll) const {
    return rollTop + (rollRange - roll) / (2 * rollRange) * (rollBottom - rollTop);
  }
  double pitchY(double pitch) const {
    const double range = kPi / 2;
    return pitchTop + (range - pitch) / (2 * range) * (pitchBottom - pitchTop);
  }
  double barY(int row) const { return barsTop + row * (barHeight + barGap); }
};

MotionPlot::MotionPlot(PlotOptions options) : options_(std::move(options)) {
  options_.widthPixels = std::clamp(options_.widthPixels, 400, 10000);
  options_.heightPixels = std::clamp(options_.heightPixels, 400, 10000);
  columns_.resize(static_cast<std::size_t>(options_.widthPixels) * kColumnsPerPixel);
}

// ---- samples ---------------------------------------------------------------------------------

void MotionPlot::mergeInto(Column& into, const Column& from) {
  if (from.count == 0) return;
  if (into.count == 0) {
    into = from;
    return;
  }
  for (auto [a, b] : {std::pair{&into.roll, &from.roll}, std::pair{&into.pitch, &from.pitch}}) {
    a->last = b->last;
    a->min = std::min(a->min, b->min);
    a->max = std::max(a->max, b->max);
  }
  into.count += from.count;
  into.landscape += from.landscape;
  into.portrait += from.portrait;
}

void MotionPlot::widenColumns() {
  const std::size_t half = columns_.size() / 2;
  for (std::size_t i = 0; i < half; ++i) {
    Column merged = columns_[2 * i];
    mergeInto(merged, columns_[2 * i + 1]);
    columns_[i] = merged;
  }
  std::fill(columns_.begin() + static_cast<std::ptrdiff_t>(half), columns_.end(), Column{});
  columnSeconds_ *= 2;
}

void MotionPlot::addSample(const TraceSample& sample) {
  if (!std::isfinite(sample.time) || !std::isfinite(sample.roll) || !std::isfinite(sample.pitch)) {
    return;
  }
  if (!started_) {
    started_ = true;
    originSeconds_ = sample.time;
    firstSampleTime_ = sample.time;
    columnSeconds_ = kFirstColumnSeconds;
    lastRoll_ = unwrappedRoll_ = sample.roll;
  }
  if (sample.time < originSeconds_) return;
  unwrappedRoll_ += std::remainder(sample.roll - lastRoll_, 2 * kPi);
  lastRoll_ = sample.roll;
  while (sample.time >= originSeconds_ + columnSeconds_ * static_cast<double>(columns_.size())) {
    widenColumns();
  }
  const auto index =
      std::min(columns_.size() - 1,
               static_cast<std::size_t>((sample.time - originSeconds_) / columnSeconds_));
  Column& column = columns_[index];
  Column one;
  one.count = 1;
  one.roll = {unwrappedRoll_, unwrappedRoll_, unwrappedRoll_, unwrappedRoll_};
  one.pitch = {sample.pitch, sample.pitch, sample.pitch, sample.pitch};
  const std::uint64_t cls = VXOrientationClassifier::classify(sample.roll, sample.pitch);
  one.landscape = cls == VXOrientationClassifier::kLandscape ? 1 : 0;
  one.portrait = cls == VXOrientationClassifier::kPortrait ? 1 : 0;
  mergeInto(column, one);
  lastSampleTime_ = std::max(lastSampleTime_, sample.time);
  maxAbsRoll_ = std::max(maxAbsRoll_, std::abs(sample.roll));
  ++sampleCount_;
}

void MotionPlot::addEvent(const TimelineEvent& event) {
  static constexpr std::array kShown{"orientation", "button", "lock", "boot"};
  if (std::find(kShown.begin(), kShown.end(), event.name) == kShown.end()) return;
  events_.push_back(event);
}

// ---- output ----------------------------------------------------------------------------------

bool MotionPlot::write(const std::filesystem::path& file, std::string& error) const {
  const std::string extension = lowerExtension(file);
  if (extension != ".png" && extension != ".svg") {
    error = file.string() + ": the picture's type comes from its extension: use .png or .svg";
    return false;
  }
  CairoCanvas canvas = extension == ".png"
                           ? CairoCanvas::image(options_.widthPixels, options_.heightPixels)
                           : CairoCanvas::svg(file, options_.widthPixels, options_.heightPixels);
  if (!canvas.ok(error)) {
    error = file.string() + ": " + error;
    return false;
  }
  draw(canvas.context());
  const bool written = extension == ".png" ? canvas.writePng(file, error) : canvas.finish(error);
  if (!written) error = file.string() + ": " + error;
  return written;
}

bool MotionPlot::plotTrace(const std::string& tracePath, const std::vector<TimelineEvent>& events,
                           const std::filesystem::path& output, PlotOptions options,
                           std::string& error) {
  MotionPlot plot(std::move(options));
  TraceReader reader(tracePath);
  TraceSample sample;
  TraceReader::Status status;
  while ((status = reader.next(sample)) == TraceReader::Status::Sample) plot.addSample(sample);
  if (status == TraceReader::Status::Error) {
    error = reader.error();
    return false;
  }
  for (const TimelineEvent& event : events) plot.addEvent(event);
  return plot.write(output, error);
}

// ---- drawing ---------------------------------------------------------------------------------

void MotionPlot::draw(cairo_t* cr) const {
  Frame frame;
  frame.width = options_.widthPixels;
  frame.height = options_.heightPixels;
  frame.left = 104;
  frame.right = frame.width - 28;
  // The time range: the samples and the events, from 0 unless something comes earlier.
  double t0 = started_ ? std::min(0.0, firstSampleTime_) : 0;
  double t1 = started_ ? lastSampleTime_ : 0;
  for (const TimelineEvent& event : events_) {
    t0 = std::min(t0, event.time);
    t1 = std::max(t1, event.time);
  }
  if (!(t1 > t0)) t1 = t0 + 1;
  frame.t0 = t0;
  frame.t1 = t1;
  frame.story = storyOf(events_, t1);
  frame.rollRange = std::clamp(maxAbsRoll_ * 1.05, 1.8, kPi);

  // Rows from the top: header, roll, pitch, class strip, reports, three bars, time axis.
  const double headerBottom = 104;
  frame.axisTop = frame.height - 52;
  frame.barsTop = frame.axisTop - 3 * (frame.barHeight + frame.barGap) - 4;
  frame.reportsBottom = frame.barsTop - 14;
  frame.reportsTop = frame.reportsBottom - 52;
  frame.classBottom = frame.reportsTop - 14;
  frame.classTop = frame.classBottom - 14;
  const double panels = frame.classTop - 12 - headerBottom - 18;
  frame.rollTop = headerBottom;
  frame.rollBottom = frame.rollTop + panels * 0.55;
  frame.pitchTop = frame.rollBottom + 18;
  frame.pitchBottom = frame.pitchTop + panels * 0.45;

  CairoCanvas::setColor(cr, Rgba{1, 1, 1, 1});
  cairo_paint(cr);

  TextStyle title{22, Weight::Bold, kInk, Align::Left};
  CairoCanvas::drawText(cr, options_.title, 28, 38, title, frame.width - 56);
  std::string subtitle = options_.subtitle;
  if (!subtitle.empty()) subtitle += "  \u00B7  ";
  subtitle += durationWords(t1 - t0) + ", " + groupedCount(sampleCount_) + " samples";
  TextStyle sub{13, Weight::Regular, kSecondaryInk, Align::Left};
  CairoCanvas::drawText(cr, subtitle, 28, 60, sub, frame.width - 56);
  drawLegend(cr, frame);

  drawPanel(cr, frame, true);
  drawPanel(cr, frame, false);
  drawClassStrip(cr, frame);
  drawReports(cr, frame);
  drawSpans(cr, frame);
  drawTimeAxis(cr, frame);

  // Boots, across every row.
  for (double boot : frame.story.boots) {
    const double x = frame.x(boot);
    const double dashes[] = {4, 3};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_set_line_width(cr, 1);
    CairoCanvas::setColor(cr, kSecondaryInk.withAlpha(0.7));
    cairo_move_to(cr, x, frame.rollTop);
    cairo_line_to(cr, x, frame.barY(2) + frame.barHeight);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    TextStyle label{11, Weight::Regular, kSecondaryInk, Align::Left};
    CairoCanvas::drawText(cr, "boot", x + 3, frame.rollTop + 12, label);
  }
}

void MotionPlot::drawLegend(cairo_t* cr, const Frame& frame) const {
  TextStyle text{12, Weight::Regular, kInk, Align::Left};
  double x = 28;
  const double y = 84;
  auto entry = [&](std::string_view label, auto&& swatch) {
    swatch(x, y);
    x += 24;
    CairoCanvas::drawText(cr, label, x, y + 4, text);
    x += CairoCanvas::textWidth(cr, label, text) + 18;
  };
  auto line = [&](const Rgba& color) {
    return [&cr, color](double sx, double sy) {
      CairoCanvas::setColor(cr, color);
      cairo_set_line_width(cr, 2);
      cairo_move_to(cr, sx, sy);
      cairo_line_to(cr, sx + 18, sy);
      cairo_stroke(cr);
    };
  };
  auto box = [&](const Rgba& color) {
    return [&cr, color](double sx, double sy) { fillRect(cr, sx, sy - 6, sx + 18, sy + 6, color); };
  };
  entry("roll", line(kRollLine));
  entry("pitch", line(kPitchLine));
  entry("landscape band", box(kLandscape.withAlpha(0.22)));
  entry("portrait region", box(kPortrait.withAlpha(0.14)));
  entry("report: portrait", [&](double sx, double sy) {
    cairo_arc(cr, sx + 9, sy, 5, 0, 2 * kPi);
    CairoCanvas::setColor(cr, kPortrait);
    cairo_fill(cr);
  });
  entry("report: landscape", [&](double sx, double sy) {
    cairo_move_to(cr, sx + 9, sy - 6);
    cairo_line_to(cr, sx + 15, sy + 5);
    cairo_line_to(cr, sx + 3, sy + 5);
    cairo_close_path(cr);
    CairoCanvas::setColor(cr, kLandscape);
    cairo_fill(cr);
  });
  entry("suggestion shown", box(kShown));
  entry("accepted", box(kAccepted));
  entry("lock lifted by tweak", box(kLifted));
  if (x < frame.width - 120) entry("lock off by user", box(kUserOff));
}

void MotionPlot::drawPanel(cairo_t* cr, const Frame& frame, bool roll) const {
  const double top = roll ? frame.rollTop : frame.pitchTop;
  const double bottom = roll ? frame.rollBottom : frame.pitchBottom;
  auto y = [&](double value) { return roll ? frame.rollY(value) : frame.pitchY(value); };
  const double range = roll ? frame.rollRange : kPi / 2;

  cairo_save(cr);
  cairo_rectangle(cr, frame.left, top, frame.right - frame.left, bottom - top);
  cairo_clip(cr);
  CairoCanvas::setColor(cr, rgbHex(0xFAFAFC));
  cairo_paint(cr);

  // The classifier's bands.
  if (roll) {
    for (double sign : {1.0, -1.0}) {
      fillRect(cr, frame.left, y(sign * kLandscapeMaxAbsRollRadians), frame.right,
               y(sign * kLandscapeMinAbsRollRadians), kLandscape.withAlpha(0.22));
    }
  } else {
    fillRect(cr, frame.left, y(range), frame.right, y(kPortraitMinAbsPitchRadians),
             kPortrait.withAlpha(0.14));
    fillRect(cr, frame.left, y(-kPortraitMinAbsPitchRadians), frame.right, y(-range),
             kPortrait.withAlpha(0.14));
    fillRect(cr, frame.left, y(kLandscapeMaxAbsPitchRadians), frame.right,
             y(-kLandscapeMaxAbsPitchRadians), kLandscape.withAlpha(0.22));
  }

  // Grid: whole radians and zero.
  cairo_set_line_width(cr, 1);
  for (double value = -std::floor(range); value <= range; value += 1) {
    CairoCanvas::setColor(cr, value == 0 ? kGrid.withAlpha(1) : kGrid.withAlpha(0.6));
    cairo_move_to(cr, frame.left, std::round(y(value)) + 0.5);
    cairo_line_to(cr, frame.right, std::round(y(value)) + 0.5);
    cairo_stroke(cr);
  }

  // The envelope: for every column, from its first value through its extremes to its last.
  // Unwrapped roll beyond ±π is drawn again a whole turn (2π) nearer: the line leaves the
  // panel at one edge and comes back at the other. Each copy takes only the columns it shows,
  // so the picture stays as small as the trace's turns allow.
  const Rgba color = roll ? kRollLine : kPitchLine;
  CairoCanvas::setColor(cr, color);
  cairo_set_line_width(cr, 1.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  double lowest = 0, highest = 0;
  bool any = false;
  for (const Column& column : columns_) {
    if (column.count == 0) continue;
    const Envelope& e = roll ? column.roll : column.pitch;
    lowest = any ? std::min(lowest, e.min) : e.min;
    highest = any ? std::max(highest, e.max) : e.max;
    any = true;
  }
  const double turn = 2 * kPi;
  const long long firstTurn = roll && any ? std::llround(lowest / turn) : 0;
  const long long lastTurn = roll && any ? std::llround(highest / turn) : 0;
  for (long long k = firstTurn; any && k <= lastTurn; ++k) {
    const double shift = -turn * static_cast<double>(k);
    bool drawing = false;
    bool hasPrevious = false;
    double previousX = 0, previousValue = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const Column& column = columns_[i];
      if (column.count == 0) continue;
      const Envelope& e = roll ? column.roll : column.pitch;
      const double x = frame.x(originSeconds_ + (static_cast<double>(i) + 0.5) * columnSeconds_);
      const double low = std::min(e.min, hasPrevious ? previousValue : e.min) + shift;
      const double high = std::max(e.max, hasPrevious ? previousValue : e.max) + shift;
      if (high >= -range && low <= range) {
        if (!drawing) {
          if (hasPrevious) {
            cairo_move_to(cr, previousX, y(previousValue + shift));
            cairo_line_to(cr, x, y(e.first + shift));
          } else {
            cairo_move_to(cr, x, y(e.first + shift));
          }
          drawing = true;
        } else {
          cairo_line_to(cr, x, y(e.first + shift));
        }
        if (column.count > 1) {
          cairo_line_to(cr, x, y(e.min + shift));
          cairo_line_to(cr, x, y(e.max + shift));
          cairo_line_to(cr, x, y(e.last + shift));
        }
      } else {
        drawing = false;
      }
      hasPrevious = true;
      previousX = x;
      previousValue = e.last;
    }
  }
  if (any) {
    cairo_stroke(cr);
  } else {
    TextStyle none{13, Weight::Regular, kSecondaryInk, Align::Center};
    CairoCanvas::drawText(cr, "no samples", (frame.left + frame.right) / 2, (top + bottom) / 2,
                          none);
  }
  cairo_restore(cr);

  // Frame, axis labels and the band edges' values.
  CairoCanvas::setColor(cr, kGrid);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, frame.left + 0.5, top + 0.5, frame.right - frame.left - 1, bottom - top - 1);
  cairo_stroke(cr);
  TextStyle tick{11, Weight::Regular, kSecondaryInk, Align::Right};
  for (double value = -std::floor(range); value <= range; value += 1) {
    char text[16];
    std::snprintf(text, sizeof text, "%+.0f", value);
    CairoCanvas::drawText(cr, value == 0 ? "0" : text, frame.left - 6, y(value) + 4, tick);
  }
  TextStyle edge{10, Weight::Regular, kSecondaryInk, Align::Right};
  const std::vector<double> edges =
      roll ? std::vector<double>{kLandscapeMinAbsRollRadians, kLandscapeMaxAbsRollRadians}
           : std::vector<double>{kLandscapeMaxAbsPitchRadians};
  for (double value : edges) {
    for (double sign : {1.0, -1.0}) {
      char text[16];
      std::snprintf(text, sizeof text, "%+.1f", sign * value);
      CairoCanvas::drawText(cr, text, frame.right - 4, y(sign * value) + (sign > 0 ? -3 : 11),
                            edge);
    }
  }
  cairo_save(cr);
  TextStyle axis{13, Weight::Bold, roll ? kRollLine : kPitchLine, Align::Center};
  cairo_translate(cr, 40, (top + bottom) / 2);
  cairo_rotate(cr, -kPi / 2);
  CairoCanvas::drawText(cr, roll ? "roll (rad)" : "pitch (rad)", 0, 0, axis);
  cairo_restore(cr);
}

void MotionPlot::drawClassStrip(cairo_t* cr, const Frame& frame) const {
  fillRect(cr, frame.left, frame.classTop, frame.right, frame.classBottom, rgbHex(0xF2F2F7));
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const Column& column = columns_[i];
    if (column.count == 0) continue;
    const std::uint32_t none = column.count - column.landscape - column.portrait;
    if (none >= column.landscape && none >= column.portrait) continue;
    const double from = frame.x(originSeconds_ + static_cast<double>(i) * columnSeconds_);
    const double to = frame.x(originSeconds_ + static_cast<double>(i + 1) * columnSeconds_);
    fillRect(cr, from, frame.classTop, std::max(to, from + 0.5), frame.classBottom,
             column.landscape >= column.portrait ? kLandscape.withAlpha(0.75)
                                                 : kPortrait.withAlpha(0.6));
  }
  rowLabel(cr, frame.left - 6, (frame.classTop + frame.classBottom) / 2, "class");
}

void MotionPlot::drawReports(cairo_t* cr, const Frame& frame) const {
  const double portraitY = frame.reportsBottom - 12;
  const double landscapeY = frame.reportsTop + 12;
  fillRect(cr, frame.left, frame.reportsTop, frame.right, frame.reportsBottom, rgbHex(0xFAFAFC));
  CairoCanvas::setColor(cr, kGrid.withAlpha(0.7));
  cairo_set_line_width(cr, 1);
  for (double yLevel : {portraitY, landscapeY}) {
    cairo_move_to(cr, frame.left, std::round(yLevel) + 0.5);
    cairo_line_to(cr, frame.right, std::round(yLevel) + 0.5);
  }
  cairo_stroke(cr);

  // A faint step line through the reports, then the markers on top.
  const auto& reports = frame.story.reports;
  if (!reports.empty()) {
    CairoCanvas::setColor(cr, kSecondaryInk.withAlpha(0.45));
    cairo_move_to(cr, frame.x(reports.front().first),
                  reports.front().second == 2 ? landscapeY : portraitY);
    for (std::size_t i = 1; i < reports.size(); ++i) {
      const double x = frame.x(reports[i].first);
      cairo_line_to(cr, x, reports[i - 1].second == 2 ? landscapeY : portraitY);
      cairo_line_to(cr, x, reports[i].second == 2 ? landscapeY : portraitY);
    }
    cairo_line_to(cr, frame.right, reports.back().second == 2 ? landscapeY : portraitY);
    cairo_stroke(cr);
  }
  for (const auto& [time, value] : reports) {
    const double x = frame.x(time);
    if (value == 2) {
      cairo_move_to(cr, x, landscapeY - 6);
      cairo_line_to(cr, x + 6, landscapeY + 5);
      cairo_line_to(cr, x - 6, landscapeY + 5);
      cairo_close_path(cr);
      CairoCanvas::setColor(cr, kLandscape);
    } else {
      cairo_arc(cr, x, portraitY, 5, 0, 2 * kPi);
      CairoCanvas::setColor(cr, kPortrait);
    }
    cairo_fill(cr);
  }
  TextStyle level{10, Weight::Regular, kSecondaryInk, Align::Right};
  CairoCanvas::drawText(cr, "landscape (2)", frame.left - 6, landscapeY + 4, level);
  CairoCanvas::drawText(cr, "portrait (1)", frame.left - 6, portraitY + 4, level);
}

void MotionPlot::drawSpans(cairo_t* cr, const Frame& frame) const {
  struct Row {
    const char* label;
    std::vector<std::pair<const std::vector<Span>*, Rgba>> spans;
  };
  const Story& story = frame.story;
  const std::array rows{
      Row{"suggestions", {{&story.shown, kShown}}},
      Row{"accepted", {{&story.accepted, kAccepted}}},
      Row{"lock off", {{&story.offByUser, kUserOff}, {&story.liftedByTweak, kLifted}}},
  };
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const double top = frame.barY(i);
    const double bottom = top + frame.barHeight;
    fillRect(cr, frame.left, top, frame.right, bottom, rgbHex(0xF2F2F7));
    for (const auto& [spans, color] : rows[static_cast<std::size_t>(i)].spans) {
      for (const Span& span : *spans) {
        const double from = frame.x(span.from);
        // Even an instant gets a visible sliver.
        fillRect(cr, from, top, std::max(frame.x(span.to), from + 2), bottom, color);
      }
    }
    rowLabel(cr, frame.left - 6, (top + bottom) / 2, rows[static_cast<std::size_t>(i)].label);
  }
}

void MotionPlot::drawTimeAxis(cairo_t* cr, const Frame& frame) const {
  const double span = frame.t1 - frame.t0;
  const double step =
      timeStep(span, std::max(4, static_cast<int>((frame.right - frame.left) / 110)));
  TextStyle label{11, Weight::Regular, kSecondaryInk, Align::Center};
  CairoCanvas::setColor(cr, kSecondaryInk);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, frame.left, frame.axisTop + 0.5);
  cairo_line_to(cr, frame.right, frame.axisTop + 0.5);
  cairo_stroke(cr);
  const auto first = static_cast<long long>(std::ceil(frame.t0 / step - 1e-9));
  const auto last = static_cast<long long>(std::floor(frame.t1 / step + 1e-9));
  for (long long k = first; k <= last; ++k) {
    const double t = static_cast<double>(k) * step;
    const double x = std::round(frame.x(t)) + 0.5;
    CairoCanvas::setColor(cr, kSecondaryInk);
    cairo_move_to(cr, x, frame.axisTop);
    cairo_line_to(cr, x, frame.axisTop + 5);
    cairo_stroke(cr);
    CairoCanvas::drawText(cr, timeLabel(t, step, span), x, frame.axisTop + 18, label);
  }
  TextStyle title{12, Weight::Bold, kInk, Align::Center};
  const char* unit = span >= 7200 ? "time (h:mm)" : span >= 600 ? "time (m:ss)" : "time (s)";
  CairoCanvas::drawText(cr, unit, (frame.left + frame.right) / 2, frame.axisTop + 38, title);
}

}  // namespace sim
