#include "sim/serve/TraceUpload.h"

#include <sstream>

#include "sim/SimulationRunner.h"

namespace sim {

std::optional<std::vector<TraceSample>> readUploadedTrace(std::string_view text,
                                                          const std::string& fileName,
                                                          std::string& error) {
  if (text.size() > kMaxUploadedTraceBytes) {
    error = fileName + ": the trace is too large (at most " +
            std::to_string(kMaxUploadedTraceBytes) + " bytes)";
    return std::nullopt;
  }
  std::istringstream input{std::string(text)};
  TraceReader reader(input, fileName);
  std::vector<TraceSample> samples;
  TraceSample sample;
  TraceReader::Status status;
  while ((status = reader.next(sample)) == TraceReader::Status::Sample) {
    if (samples.size() == kMaxUploadedTraceSamples) {
      error = fileName + ": the trace has too many samples (at most " +
              std::to_string(kMaxUploadedTraceSamples) + ")";
      return std::nullopt;
    }
    samples.push_back(sample);
  }
  if (status == TraceReader::Status::Error) {
    error = reader.error();
    return std::nullopt;
  }
  return samples;
}

Scenario scenarioPlayingTrace(const Scenario& setup, const std::vector<TraceSample>& samples) {
  Scenario played = setup;
  played.endTime.reset();
  if (played.actions.empty()) {
    const Scenario defaults = SimulationRunner::defaultReplayScenario();
    if (!played.hasApp(SimulationRunner::kDefaultReplayAppBundleId)) {
      played.apps.push_back(defaults.apps.front());
    }
    played.actions = defaults.actions;
  }
  std::vector<TimedAction> merged;
  merged.reserve(played.actions.size() + samples.size());
  std::size_t nextAction = 0;
  for (const TraceSample& sample : samples) {
    while (nextAction < played.actions.size() && played.actions[nextAction].time < sample.time) {
      merged.push_back(played.actions[nextAction++]);
    }
    merged.push_back(TimedAction{sample.time, 0, AttitudeAction{sample.roll, sample.pitch}});
  }
  while (nextAction < played.actions.size()) merged.push_back(played.actions[nextAction++]);
  played.actions = std::move(merged);
  return played;
}

}  // namespace sim
