#include "sim/RunSummary.h"

#include "sim/EventWording.h"

namespace sim {

bool RunSummary::count(const TimelineEvent& event) {
  ++counts_.events;
  const SuggestionTracker::Step step = suggestion_.follow(event);
  switch (step) {
    case SuggestionTracker::Step::Offered:
      ++counts_.offered;
      break;
    case SuggestionTracker::Step::Accepted:
      ++counts_.accepted;
      break;
    case SuggestionTracker::Step::Withdrawn:
    case SuggestionTracker::Step::TakenByRestart:
      ++counts_.withdrawn;
      break;
    case SuggestionTracker::Step::None:
    case SuggestionTracker::Step::Ended:
      break;
  }
  const std::string& name = event.name;
  if (name == "lock") {
    if (EventWording::text(event, "by") == "tweak") {
      ++counts_.lockByTweak;
    } else {
      ++counts_.lockByUser;
    }
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
  return step == SuggestionTracker::Step::Withdrawn;
}

std::string RunSummary::headline(double lastTime) const {
  return "summary: " + plural(counts_.events, "event", "events") + " in " +
         EventWording::number(lastTime) + " s of device time";
}

std::vector<std::pair<std::string, std::string>> RunSummary::rows() const {
  std::string suggestions = std::to_string(counts_.offered) + " offered, " +
                            std::to_string(counts_.accepted) + " accepted, " +
                            std::to_string(counts_.withdrawn) + " withdrawn";
  if (suggestion_.untappedOnScreen()) suggestions += ", 1 still on screen";
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

  return {{"suggestions", suggestions},
          {"orientation lock", lock},
          {"motion reports", reports},
          {"files", files},
          {"also", other}};
}

std::string RunSummary::plural(std::uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace sim
