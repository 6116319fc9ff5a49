#include "sim/TextTimelinePrinter.h"

#include <cmath>
#include <string_view>
#include <variant>

#include "sim/EventWording.h"
#include "sim/RunSummary.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

// ANSI select-graphic-rendition codes.
constexpr const char* kReset = "\x1b[0m";
constexpr const char* kDim = "2";
constexpr const char* kBold = "1";
constexpr const char* kRed = "31";
constexpr const char* kGreen = "32";
constexpr const char* kBoldGreen = "1;32";
constexpr const char* kYellow = "33";
constexpr const char* kBoldYellow = "1;33";
constexpr const char* kBlue = "34";
constexpr const char* kMagenta = "35";
constexpr const char* kBoldMagenta = "1;35";
constexpr const char* kCyan = "36";

constexpr std::string_view kEllipsis = "\u2026";
constexpr std::string_view kActionMark = "\u25b8 ";  // ▸

void padTo(std::string& text, std::size_t width) {
  const std::size_t shown = displayColumns(text);
  if (shown < width) text.append(width - shown, ' ');
}

// The last `columns` columns of `text`, starting with "…" when cut.
std::string cutFromLeft(std::string_view text, std::size_t columns) {
  if (displayColumns(text) <= columns || columns == 0) return std::string(text);
  std::size_t kept = 0;
  std::size_t begin = text.size();
  while (begin > 0) {
    std::size_t previous = begin - 1;
    while (previous > 0 && (static_cast<unsigned char>(text[previous]) & 0xC0) == 0x80) {
      --previous;
    }
    if (kept + 1 >= columns) break;
    ++kept;
    begin = previous;
  }
  return std::string(kEllipsis) + std::string(text.substr(begin));
}

// The column's short form: both landscapes are "landscape".
std::string orientationColumnWord(long long orientation) {
  return orientation == 3 || orientation == 4 ? "landscape"
                                              : EventWording::orientationWord(orientation);
}

}  // namespace

TextTimelinePrinter::TextTimelinePrinter(std::ostream& out, bool colour)
    : out_(out), colour_(colour) {}
std::string TextTimelinePrinter::frontColumn(const DeviceStatus& status) {
  if (status.settingsOpen) return "Settings \u203a Gyrowhirl";
  if (status.deviceLocked) return "locked screen";
  if (status.frontApp.empty()) return "home screen";
  const std::string word = orientationColumnWord(status.orientation);
  const std::size_t room =
      kFrontColumnWidth > word.size() + 2 ? kFrontColumnWidth - word.size() - 2 : 1;
  return cutFromLeft(status.frontApp, room) + " " + word;
}

std::string TextTimelinePrinter::paint(const std::string& text, const char* code) const {
  if (!colour_ || !code || text.empty()) return text;
  return "\x1b[" + std::string(code) + "m" + text + kReset;
}

void TextTimelinePrinter::writeLine(double time, const std::string& text, const char* textColour) {
  if (beforeLine_) beforeLine_();
  if (!headerWritten_) {
    headerWritten_ = true;
    std::string header(kTimeColumnWidth - 4, ' ');
    header += "time  lock  front app";
    padTo(header, kTimeColumnWidth + 2 + kLockColumnWidth + 2 + kFrontColumnWidth + 2);
    header += "event";
    out_ << paint(header, kBold) << '\n';
  }
  if (time > lastTime_) lastTime_ = time;

  std::string timeColumn = formatFixed(time, 3);
  if (timeColumn.size() < kTimeColumnWidth) {
    timeColumn.insert(0, kTimeColumnWidth - timeColumn.size(), ' ');
  }
  std::string lock = lockKnown_ ? (status_.orientationLocked ? "on" : "off") : "";
  padTo(lock, kLockColumnWidth);
  std::string front = statusKnown_ ? frontColumn(status_) : "";
  padTo(front, kFrontColumnWidth);

  // The state column stands out where it changed, and fades where it repeats.
  const bool changed = !anyLine_ || !(lastPrintedStatus_ == status_);
  const char* lockColour = changed ? (status_.orientationLocked ? kYellow : kCyan) : kDim;
  line_ = paint(timeColumn, kDim);
  line_ += "  ";
  line_ += paint(lock, lockColour);
  line_ += "  ";
  line_ += paint(front, changed ? nullptr : kDim);
  line_ += "  ";
  line_ += paint(text, textColour);
  line_ += '\n';
  out_ << line_;
  anyLine_ = true;
  lastPrintedStatus_ = status_;
}

const char* TextTimelinePrinter::colourOf(const TimelineEvent& event) const {
  const std::string& name = event.name;
  if (name == "button") {
    const std::string state = EventWording::text(event, "state");
    return state == "shown" ? kBoldGreen : state == "removed" ? kGreen : kDim;
  }
  if (name == "lock") return EventWording::text(event, "by") == "tweak" ? kBoldMagenta : kMagenta;
  if (name == "haptic") return kCyan;
  if (name == "orientation") return kBlue;
  if (name == "boot") return kBold;
  if (name == "alert") return kBoldYellow;
  if (name == "spawn" || name == "url") return kYellow;
  if (name == "syslog" || name == "refused") return kRed;
  if (name == "declined") return kBlue;
  return kDim;  // files, notifications, broadcasts, pages, touches, log lines
}

void TextTimelinePrinter::followLock(const TimelineEvent& event) {
  if (event.name != "lock") return;
  const Foundation::Value* on = event.fields.find("on");
  status_.orientationLocked = on && on->boolValue();
  lockKnown_ = true;
}

void TextTimelinePrinter::print(const TimelineEvent& event) {
  followLock(event);
  const bool withdrawn = summary_.count(event);
  writeLine(event.time, withdrawn ? std::string(kWithdrawnWords) : EventWording::describe(event),
            colourOf(event));
}

void TextTimelinePrinter::action(double time, const std::string& text) {
  writeLine(time, std::string(kActionMark) + text, kBold);
}

void TextTimelinePrinter::status(double time, const DeviceStatus& status, bool announce) {
  if (time > lastTime_) lastTime_ = time;
  const DeviceStatus before = status_;
  const bool known = statusKnown_;
  status_ = status;
  statusKnown_ = true;
  lockKnown_ = true;
  if (!announce || !known) return;
  const std::string change = EventWording::describeChange(before, status);
  if (!change.empty()) writeLine(time, change, kYellow);
}

void TextTimelinePrinter::finish() {
  out_ << '\n' << paint(summary_.headline(lastTime_), kBold) << '\n';
  for (const auto& [label, value] : summary_.rows()) {
    std::string head = "  " + label;
    padTo(head, 21);
    out_ << paint(head, kDim) << value << '\n';
  }
  out_.flush();
}

}  // namespace sim
