// The phone's picture that `serve` sends its page after every change, as the showcase's
// device shows it on starting: drawn at the page's scale, then encoded as PNG by cairo's own
// writer (as picture files are) or by PngEncoder at a light zlib level. Time per picture;
// `bytes` is the size sent.
#include <benchmark/benchmark.h>

#ifdef GW_BENCH_WITH_SIM
#include <cstdint>
#include <memory>
#include <sstream>
#include <vector>

#include "Device/Device.h"
#include "sim/JsonLinesPrinter.h"
#include "sim/ScenarioParser.h"
#include "sim/ShowcaseScenario.h"
#include "sim/SimulationRunner.h"
#include "sim/Timeline.h"
#include "sim/pictures/DeviceArtworkPainter.h"
#include "sim/pictures/DeviceRenderer.h"
#include "sim/pictures/PngEncoder.h"

namespace {

// The page shows the phone at half a pixel per screen point.
constexpr double kPagePixelsPerPoint = 0.5;

// The showcase's device set up (none of its timed actions played), as a page first sees it.
class LiveDevice {
 public:
  LiveDevice() : timeline_(std::make_unique<sim::JsonLinesPrinter>(timelineText_)) {
    sim::ScenarioParser::Result parsed =
        sim::ScenarioParser::parse(sim::ShowcaseScenario::text(), "showcase");
    if (!parsed.ok()) return;
    parsed.scenario->actions.clear();
    sim::SimulationOptions options;
    options.artwork = sim::DeviceArtworkPainter::artwork();
    runner_ = std::make_unique<sim::SimulationRunner>(options, timeline_);
    ready_ = runner_->begin(*parsed.scenario, sim::kMaxDeviceTimeSeconds).status ==
             sim::SimulationRunner::Status::Done;
  }
  ~LiveDevice() {
    if (ready_) runner_->end();
  }
  bool ready() const { return ready_; }
  // `work` with the device, on the device's hand.
  template <typename Work>
  void with(Work work) {
    runner_->inHand([&] { work(*runner_->device()); });
  }

 private:
  std::ostringstream timelineText_;
  sim::Timeline timeline_;
  std::unique_ptr<sim::SimulationRunner> runner_;
  bool ready_ = false;
};

sim::DeviceRenderer pageRenderer() {
  sim::RenderOptions options;
  options.pixelsPerPoint = kPagePixelsPerPoint;
  return sim::DeviceRenderer(options);
}

void BM_LivePictureDraw(benchmark::State& state) {
  LiveDevice live;
  if (!live.ready()) {
    state.SkipWithError("the showcase's device could not be set up");
    return;
  }
  sim::DeviceRenderer renderer = pageRenderer();
  live.with([&](Device& device) {
    for (auto _ : state) benchmark::DoNotOptimize(renderer.render(device, device.now()));
  });
}
BENCHMARK(BM_LivePictureDraw)->Unit(benchmark::kMillisecond);

// Drawn and encoded by cairo's writer, as `serve` did before its pictures were encoded by
// PngEncoder.
void BM_LivePictureDrawCairoPng(benchmark::State& state) {
  LiveDevice live;
  if (!live.ready()) {
    state.SkipWithError("the showcase's device could not be set up");
    return;
  }
  sim::DeviceRenderer renderer = pageRenderer();
  std::size_t bytes = 0;
  live.with([&](Device& device) {
    for (auto _ : state) bytes = renderer.pngData(device, device.now()).size();
  });
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LivePictureDrawCairoPng)->Unit(benchmark::kMillisecond);

// Encoding alone, at the zlib level given.
void BM_LivePictureEncode(benchmark::State& state) {
  LiveDevice live;
  if (!live.ready()) {
    state.SkipWithError("the showcase's device could not be set up");
    return;
  }
  sim::DeviceRenderer renderer = pageRenderer();
  sim::RenderedFrame frame;
  live.with([&](Device& device) { frame = renderer.render(device, device.now()); });
  std::size_t bytes = 0;
  for (auto _ : state)
    bytes = sim::PngEncoder::encode(frame, static_cast<int>(state.range(0))).size();
  state.counters["bytes"] = static_cast<double>(bytes);
  if (bytes == 0) state.SkipWithError("the picture could not be encoded");
}
BENCHMARK(BM_LivePictureEncode)->Arg(0)->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
