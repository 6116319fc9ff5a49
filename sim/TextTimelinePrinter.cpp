#include "sim/TextTimelinePrinter.h"

#include <cmath>
#include <string_view>
#include <variant>

#include "sim/EventWording.h"
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

bool TextTimelinePrinter::count(const TimelineEvent& event) {
  ++counts_.events;
  bool withdrawn = false;
  const std::string& name = event.name;
  if (name == "button") {
    const std::string state = EventWording::text(event, "state");
    if (state == "shown") {
      ++counts_.offered;
      buttonOnScreen_ = true;
      suggestionAccepted_ = false;
    } else if (state == "removed" && buttonOnScreen_) {
      withdrawn = !suggestionAccepted_;
      if (withdrawn) ++counts_.withdrawn;
      buttonOnScreen_ = false;
    }
  } else if (name == "lock") {
    const Foundation::Value* on = event.fields.find("on");
    const bool locked = on && on->boolValue();
    status_.orientationLocked = locked;
    lockKnown_ = true;
    if (EventWording::text(event, "by") == "tweak") {
      ++counts_.lockByTweak;
      // Lifting the lock is what accepting a suggestion does.
      if (!locked && buttonOnScreen_ && !suggestionAccepted_) {
        suggestionAccepted_ = true;
        ++counts_.accepted;
      }
    } else {
      ++counts_.lockByUser;
    }
  } else if (name == "boot") {
    // A restarted home screen takes its button with it.
    if (buttonOnScreen_ && !suggestionAccepted_) ++counts_.withdrawn;
    buttonOnScreen_ = false;
  } else if (name == "orientation") {
    const double value = EventWording::field(event, "value");
    if (value == 1) ++counts_.portraitReports;
    if (value == 2) ++counts_.landscapeReports;
  } else if (name == "haptic") {
    ++counts_.haptics;
  } else if (name == "prefs") {
    ++counts_.broadcasts;
  } else if (name == "notify") {
    ++counts_.notifications;
  } else if (name == "file") {
    if (EventWording::text(event, "op") == "delete") {
      ++counts_.filesDeleted;
    } else {
      ++counts_.filesWritten;
    }
  } else if (name == "alert") {
    ++counts_.alerts;
  } else if (name == "declined") {
    ++counts_.declined;
  }
  return withdrawn;
}

void TextTimelinePrinter::print(const TimelineEvent& event) {
  const bool withdrawn = count(event);
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
  auto plural = [](std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::string suggestions = std::to_string(counts_.offered) + " offered, " +
                            std::to_string(counts_.accepted) + " accepted, " +
                            std::to_string(counts_.withdrawn) + " withdrawn";
  if (buttonOnScreen_ && !suggestionAccepted_) suggestions += ", 1 still on screen";
  suggestions += ", " + std::to_string(counts_.declined) + " declined";
  const std::uint64_t lockChanges = counts_.lockByUser + counts_.lockByTweak;
  const std::string lock = plural(lockChanges, "change", "changes") + " (" +
                           std::to_string(counts_.lockByUser) + " by the user, " +
                           std::to_string(counts_.lockByTweak) + " by Gyrowhirl)";
  const std::string reports = std::to_string(counts_.portraitReports + counts_.landscapeReports) +
                              " (" + std::to_string(counts_.portraitReports) + " portrait, " +
                              std::to_string(counts_.landscapeReports) + " landscape)";
  const std::string files = plural(counts_.filesWritten, "write", "writes") + ", " +
                            plural(counts_.filesDeleted, "deletion", "deletions") +
                            " of the preferences file";
  const std::string other =
      plural(counts_.haptics, "haptic", "haptics") + ", " +
      plural(counts_.broadcasts, "preferences broadcast", "preferences broadcasts") + ", " +
      plural(counts_.notifications, "notification", "notifications") + ", " +
      plural(counts_.alerts, "alert", "alerts");

  out_ << '\n'
       << paint("summary: " + plural(counts_.events, "event", "events") + " in " +
                    EventWording::number(lastTime_) + " s of device time",
                kBold)
       << '\n';
  auto row = [this](const char* label, const std::string& value) {
    std::string head = std::string("  ") + label;
    padTo(head, 21);
    out_ << paint(head, kDim) << value << '\n';
  };
  row("suggestions", suggestions);
  row("orientation lock", lock);
  row("motion reports", reports);
  row("files", files);
  row("also", other);
  out_.flush();
}

}  // namespace sim
