// The counts behind the human timeline's summary: suggestions offered, accepted and withdrawn
// (as SuggestionTracker reads them), lock changes and by whom, motion reports, preferences
// file writes, haptics, broadcasts, notifications, alerts, declines.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/SuggestionTracker.h"
#include "sim/TimelineEvent.h"

namespace sim {

class RunSummary {
 public:
  // Counts `event`; true when it removes a suggestion nobody tapped.
  bool count(const TimelineEvent& event);
  // "summary: 12 events in 6 s of device time".
  std::string headline(double lastTime) const;
  // Label and value of each line under the headline.
  std::vector<std::pair<std::string, std::string>> rows() const;

 private:
  struct Counts {
    std::uint64_t events = 0;
    std::uint64_t offered = 0, accepted = 0, withdrawn = 0, declined = 0;
    std::uint64_t lockByUser = 0, lockByTweak = 0;
    std::uint64_t portraitReports = 0, landscapeReports = 0;
    std::uint64_t haptics = 0, broadcasts = 0, notifications = 0;
    std::uint64_t filesWritten = 0, filesDeleted = 0;
    std::uint64_t alerts = 0;
  };
  static std::string plural(std::uint64_t n, const char* one, const char* many);

  Counts counts_;
  SuggestionTracker suggestion_;
};

}  // namespace sim
