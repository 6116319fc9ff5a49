// A motion trace opened from the page (the CSV TraceReader reads) turned into what a live
// session plays: the trace's samples as `attitude` actions at the samples' times, merged
// with the set-up scenario's actions as `replay` merges them. The samples are then played as
// the live clock passes them, and a saved session holds them as `attitude` lines that
// `gyrowhirl-sim run` plays to the same timeline.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Scenario.h"
#include "sim/TraceReader.h"
#include "sim/serve/ServeRequests.h"

namespace sim {

// The largest trace a page may open: a request body, and at most this many samples (a row
// can be as short as "1,0,0"). Every sample is an action of the session, with its lines in
// the timeline: a session keeps LiveSession::kMaxKeptLines of them.
inline constexpr std::size_t kMaxUploadedTraceBytes = kMaxRequestBodyBytes;
inline constexpr std::size_t kMaxUploadedTraceSamples = 10000;

// Every sample of `text`, or nullopt with the reader's message ("FILE:LINE: ...", `fileName`
// naming the text) or the limit exceeded in `error`.
std::optional<std::vector<TraceSample>> readUploadedTrace(std::string_view text,
                                                          const std::string& fileName,
                                                          std::string& error);

// `setup` playing `samples`: its own actions when it has any, else those `replay` plays
// without a scenario (boot, the default app in front, the orientation lock on), with every
// sample an `attitude` action at its time; a sample goes before an action at the same time,
// as in `replay`. The scenario has no end: a live session ends when the person leaves.
Scenario scenarioPlayingTrace(const Scenario& setup, const std::vector<TraceSample>& samples);

}  // namespace sim
