// End-to-end replay: a synthetic 24-hour day (a turn to landscape every few minutes, half the
// suggestions accepted) played through the whole system on the virtual clock: the tweak library
// loaded into the home screen, its sampling timer, classifier, manager, overlay, button, taps
// through the touch screen, and the orientation lock. Wall time per simulated day: driven
// straight through the platform (WholeSystemReplay), from the simulator's CSV format, and
// through the simulator's own runner with its timeline.
#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "support/SyntheticDayTrace.h"
#include "support/WholeSystemReplay.h"
#ifdef GW_BENCH_WITH_SIM
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <streambuf>

#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "UIKit/UITouchInput.h"
#include "sim/JsonLinesPrinter.h"
#include "sim/SimulationObserver.h"
#include "sim/SimulationRunner.h"
#include "sim/Timeline.h"
#include "sim/TraceReader.h"
#include "sim/pictures/DeviceArtworkPainter.h"
#endif

namespace {

// A day's samples held in memory, so that only the replay is timed.
class RecordedDay {
 public:
  explicit RecordedDay(const SyntheticDayTrace::Options& options) {
    SyntheticDayTrace trace(options);
    AttitudeSample sample;
    while (trace.next(sample)) samples_.push_back(sample);
  }
  bool next(AttitudeSample& sample) {
    if (at_ == samples_.size()) return false;
    sample = samples_[at_++];
    return true;
  }
  void rewind() { at_ = 0; }
  std::size_t size() const { return samples_.size(); }

 private:
  std::vector<AttitudeSample> samples_;
  std::size_t at_ = 0;
};

void reportCounts(benchmark::State& state, const WholeSystemReplay::Counts& counts) {
  state.counters["samples"] = static_cast<double>(counts.samples);
  state.counters["suggestions"] = static_cast<double>(counts.suggestionsShown);
  state.counters["accepted"] = static_cast<double>(counts.acceptedTaps);
  state.counters["lock_lifts"] = static_cast<double>(counts.lockLiftedByTweak);
}

void BM_Replay24h(benchmark::State& state) {
  const SyntheticDayTrace::Options day{};
  RecordedDay samples(day);
  WholeSystemReplay::Counts counts;
  for (auto _ : state) {
    state.PauseTiming();
    samples.rewind();
    {
      auto replay = std::make_unique<WholeSystemReplay>(WholeSystemReplay::Options{});
      state.ResumeTiming();
      replay->boot();
      replay->play(samples, day);
      state.PauseTiming();
      counts = replay->counts();
    }
    state.ResumeTiming();
  }
  reportCounts(state, counts);
  if (counts.suggestionsShown == 0 || counts.acceptedTaps == 0) {
    state.SkipWithError("the day brought no accepted suggestion");
  }
}
BENCHMARK(BM_Replay24h)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Making the day's samples, which the replay above does not time.
void BM_SyntheticDayGeneration(benchmark::State& state) {
  for (auto _ : state) {
    SyntheticDayTrace trace({});
    AttitudeSample sample;
    std::size_t n = 0;
    while (trace.next(sample)) ++n;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_SyntheticDayGeneration)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

#ifdef GW_BENCH_WITH_SIM
// The same day from the simulator's CSV trace format, read row by row by its TraceReader while
// it plays, as `gyrowhirl-sim replay` reads a recorded trace.
class CsvDay {
 public:
  CsvDay(const std::string& csv, const std::string& name) : input_(csv), reader_(input_, name) {}
  bool next(AttitudeSample& sample) {
    sim::TraceSample row;
    if (reader_.next(row) != sim::TraceReader::Status::Sample) return false;
    sample = {row.time, row.roll, row.pitch};
    return true;
  }

 private:
  std::istringstream input_;
  sim::TraceReader reader_;
};

void BM_Replay24h_FromCsv(benchmark::State& state) {
  const SyntheticDayTrace::Options day{};
  std::ostringstream csv;
  SyntheticDayTrace::writeCsv(day, csv);
  const std::string text = csv.str();
  WholeSystemReplay::Counts counts;
  for (auto _ : state) {
    state.PauseTiming();
    {
      auto replay = std::make_unique<WholeSystemReplay>(WholeSystemReplay::Options{});
      CsvDay samples(text, "day.csv");
      state.ResumeTiming();
      replay->boot();
      replay->play(samples, day);
      state.PauseTiming();
      counts = replay->counts();
    }
    state.ResumeTiming();
  }
  state.counters["csv_bytes"] = static_cast<double>(text.size());
  reportCounts(state, counts);
}
BENCHMARK(BM_Replay24h_FromCsv)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Swallows what it is given: the timeline is formatted as JSON Lines, and the lines dropped.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The person of the day, riding along with the simulator: taps every other button that
// appears, 0.8 s after it appears, on the touch screen.
class TappingPerson : public sim::SimulationObserver {
 public:
  void runStarting(Device& device, double) override {
    device.subscribe([this, &device](const DeviceEvent& event) {
      const EventValue* className = event.fields.find("class");
      const EventValue* op = event.fields.find("op");
      if (event.name != "view" || !className || !op || !className->stringValue() ||
          *className->stringValue() != "VXFab" || !op->stringValue() ||
          *op->stringValue() != "added" || ++shown % 2 == 0) {
        return;
      }
      const CGPoint centre = CGPointMake(
          event.fields.value("x").doubleValue() + event.fields.value("w").doubleValue() / 2,
          event.fields.value("y").doubleValue() + event.fields.value("h").doubleValue() / 2);
      std::shared_ptr<Process> hand = device.process(sim::SimulationRunner::kHandProcessName);
      if (!hand) return;
      device.schedule(*hand, device.now() + 0.8, [this, &device, centre] {
        if (!UITouchInput(device).tap(centre).passedThrough()) ++accepted;
      });
    });
  }
  std::uint64_t shown = 0;
  std::uint64_t accepted = 0;
};

// The same day through the simulator itself, as `gyrowhirl-sim replay DAY.csv --json` plays it:
// the trace is checked in a first pass and read again while it plays, the tweak library is
// loaded into the home screen by the simulator, and every event is recorded in the timeline
// and formatted.
void BM_Replay24h_Simulator(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "gyrowhirl-day-XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    state.SkipWithError("no temporary file for the trace");
    return;
  }
  ::close(fd);
  {
    std::ofstream csv(pattern);
    SyntheticDayTrace::writeCsv({}, csv);
  }
  std::uint64_t events = 0;
  TappingPerson person;
  for (auto _ : state) {
    NullBuffer nothing;
    std::ostream out(&nothing);
    sim::Timeline timeline(std::make_unique<sim::JsonLinesPrinter>(out));
    sim::SimulationOptions options;
    options.artwork = sim::DeviceArtworkPainter::artwork();
    sim::SimulationRunner runner(options, timeline);
    person = TappingPerson();
    runner.setObserver(&person);
    const sim::SimulationRunner::Outcome outcome = runner.replay(pattern, nullptr);
    if (outcome.status != sim::SimulationRunner::Status::Done) state.SkipWithError("replay failed");
    events = timeline.eventCount();
  }
  std::filesystem::remove(pattern);
  state.counters["timeline_events"] = static_cast<double>(events);
  state.counters["suggestions"] = static_cast<double>(person.shown);
  state.counters["accepted"] = static_cast<double>(person.accepted);
  if (person.accepted == 0) state.SkipWithError("no suggestion was accepted");
}
BENCHMARK(BM_Replay24h_Simulator)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
#endif

}  // namespace
