#include "sim/serve/LiveSession.h"

#include <cmath>

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Preferences/PSListControllerUser.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "sim/DeviceStatus.h"
#include "sim/JsonLinesPrinter.h"
#include "sim/ScenarioParser.h"
#include "sim/ScenarioWriter.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"
#include "sim/app/RunPresenter.h"
#include "sim/pictures/DeviceArtworkPainter.h"
#include "sim/pictures/DeviceRenderer.h"
#include "sim/pictures/FrameRecorder.h"
#include "sim/pictures/PngEncoder.h"
#include "sim/pictures/SettingsPageAdapter.h"
#include "sim/serve/TimelineTee.h"

namespace sim {
namespace {

// zlib's fastest level, rows unfiltered: a picture of the page is about 22 KB instead of the
// 16 KB of cairo's writer, and is encoded in a quarter of the time (bench/LivePictureBench).
constexpr int kPictureZlibLevel = PngEncoder::kFast;

// `time` rounded down to a whole step of the live clock.
double wholeSteps(double time) {
  if (!std::isfinite(time) || time < 0) return 0;
  if (time > kMaxDeviceTimeSeconds) time = kMaxDeviceTimeSeconds;
  return std::floor(time * LiveSession::kStepsPerSecond + 1e-6) / LiveSession::kStepsPerSecond;
}

// Moves the complete lines written to `out` since the last call into `lines`, keeping a
// partial last line in `out` for the next call.
void takeLines(std::ostringstream& out, std::vector<std::string>& lines, std::uint64_t& first) {
  std::string text = out.str();
  std::size_t begin = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  out.str(text.substr(begin));
  out.seekp(0, std::ios::end);
  if (lines.size() > LiveSession::kMaxKeptLines) {
    const std::size_t dropped = lines.size() - LiveSession::kMaxKeptLines;
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(dropped));
    first += dropped;
  }
}

LiveSession::Lines linesFrom(const std::vector<std::string>& lines, std::uint64_t first,
                             std::uint64_t from) {
  LiveSession::Lines result;
  result.first = std::max(from, first);
  const std::uint64_t end = first + lines.size();
  for (std::uint64_t k = result.first; k < end; ++k) {
    result.text.push_back(lines[static_cast<std::size_t>(k - first)]);
  }
  return result;
}

}  // namespace

LiveSession::LiveSession(Scenario scenario) : scenario_(std::move(scenario)) {
  played_ = scenario_;
  played_.actions.clear();
  played_.endTime.reset();
  auto human = std::make_unique<TextTimelinePrinter>(humanOut_, false);
  TextTimelinePrinter* text = human.get();
  auto tee =
      std::make_unique<TimelineTee>(std::move(human), std::make_unique<JsonLinesPrinter>(jsonOut_));
  auto presenter = std::make_unique<RunPresenter>(std::move(tee), text);
  presenter_ = presenter.get();
  timeline_ = std::make_unique<Timeline>(std::move(presenter));
  SimulationOptions options;
  options.artwork = DeviceArtworkPainter::artwork();
  runner_ = std::make_unique<SimulationRunner>(options, *timeline_);
  runner_->setObserver(this);
  RenderOptions picture;
  picture.pixelsPerPoint = kPicturePixelsPerPoint;
  renderer_ = std::make_unique<DeviceRenderer>(picture);
  renderer_->setSettingsPageSource([this](Device&) -> std::optional<SettingsPageContent> {
    if (!pane_ || !pane_->isOpen()) return std::nullopt;
    return SettingsPageAdapter::pageOf(*pane_);
  });
  renderer_->setAlertSource([this](Device&) -> std::vector<AlertContent> {
    if (!pane_ || !pane_->isOpen()) return {};
    return SettingsPageAdapter::alertsOf(*pane_);
  });
}

std::unique_ptr<LiveSession> LiveSession::start(Scenario scenario, std::string& error) {
  if (auto unsupported = SimulationRunner::unsupportedAction(scenario)) {
    error = *unsupported;
    return nullptr;
  }
  std::unique_ptr<LiveSession> session(new LiveSession(std::move(scenario)));
  SimulationRunner::Outcome outcome =
      session->runner_->begin(session->scenario_, kMaxDeviceTimeSeconds);
  if (outcome.status != SimulationRunner::Status::Done) {
    error = outcome.message;
    return nullptr;
  }
  session->collect();
  return session;
}

LiveSession::~LiveSession() {
  // The device ends before the presenter and the renderer that look at it.
  runner_.reset();
  pane_ = nullptr;
}

double LiveSession::now() const {
  return time_;
}

void LiveSession::play(TimedAction timed) {
  runner_->play(timed);
  time_ = std::max(time_, timed.time);
  timed.line = 0;
  played_.actions.push_back(std::move(timed));
}

void LiveSession::advanceTo(double time) {
  const double target = wholeSteps(time);
  while (nextScenarioAction_ < scenario_.actions.size() &&
         scenario_.actions[nextScenarioAction_].time <= target) {
    TimedAction timed = scenario_.actions[nextScenarioAction_++];
    timed.time = std::max(timed.time, time_);
    play(std::move(timed));
  }
  if (target > time_) {
    runner_->runUntil(target);
    time_ = target;
  }
  collect();
}

void LiveSession::perform(const Action& action) {
  play(TimedAction{time_, 0, action});
  collect();
}

std::optional<Action> LiveSession::parseAction(const std::string& line, std::string& error) const {
  if (line.find_first_of("\r\n") != std::string::npos) {
    error = "one action, on one line";
    return std::nullopt;
  }
  Scenario setup = played_;
  setup.actions.clear();
  const std::string text = ScenarioWriter::write(setup) + "at 0 " + line + "\n";
  ScenarioParser::Result parsed = ScenarioParser::parse(text, "action");
  if (!parsed.ok()) {
    // "action:LINE: what is wrong": the line number is that of the text made here.
    error = parsed.error;
    const std::size_t colon = error.find(": ");
    if (colon != std::string::npos) error.erase(0, colon + 2);
    return std::nullopt;
  }
  if (parsed.scenario->actions.size() != 1) {
    error = "expected one action";
    return std::nullopt;
  }
  return parsed.scenario->actions.front().action;
}

void LiveSession::collect() {
  takeLines(humanOut_, human_, humanFirst_);
  takeLines(jsonOut_, json_, jsonFirst_);
}

LiveSession::Lines LiveSession::humanLines(std::uint64_t from) const {
  return linesFrom(human_, humanFirst_, from);
}

LiveSession::Lines LiveSession::jsonLines(std::uint64_t from) const {
  return linesFrom(json_, jsonFirst_, from);
}

std::vector<std::uint8_t> LiveSession::picture() {
  const std::uint64_t signature = pictureSignature();
  if (picture_.empty() || signature != pictureDrawnFor_) {
    runner_->inHand([&] {
      picture_ =
          PngEncoder::encode(renderer_->render(*runner_->device(), time_), kPictureZlibLevel);
    });
    pictureDrawnFor_ = signature;
  }
  return picture_;
}

std::uint64_t LiveSession::pictureSignature() {
  std::uint64_t signature = 0;
  runner_->inHand([&] {
    signature = FrameRecorder::sceneSignature(*renderer_, *runner_->device(), time_);
    // The picture turns the phone as it is held and prints its roll and pitch to hundredths,
    // which the scene's digest leaves out (it names only how the phone is held).
    const CMAttitude& attitude = MotionHardware::of(*runner_->device()).attitude();
    for (const double angle : {attitude.roll(), attitude.pitch()}) {
      const auto hundredths = static_cast<std::uint64_t>(std::llround(angle * 100));
      signature = (signature ^ hundredths) * 0x100000001B3ULL;
    }
  });
  return signature;
}

CGPoint LiveSession::screenPointForPicturePoint(CGPoint pixel) {
  CGPoint point = pixel;
  runner_->inHand([&] { point = renderer_->screenPointForImagePoint(*runner_->device(), pixel); });
  return point;
}

CGPoint LiveSession::screenMovementForPictureMovement(CGPoint pixels) {
  const CGPoint origin = screenPointForPicturePoint(CGPointMake(0, 0));
  const CGPoint moved = screenPointForPicturePoint(pixels);
  return CGPointMake(moved.x - origin.x, moved.y - origin.y);
}

LiveSession::State LiveSession::state() {
  State state;
  state.time = time_;
  for (const AppSetup& app : played_.apps) state.apps.push_back(app.bundleId);
  state.screen = CGSizeMake(played_.screenWidthPoints, played_.screenHeightPoints);
  runner_->inHand([&] { readState(*runner_->device(), state); });
  return state;
}

void LiveSession::readState(Device& device, State& state) {
  const DeviceStatus status = DeviceStatus::of(device);
  state.orientationLocked = status.orientationLocked;
  state.deviceLocked = status.deviceLocked;
  state.frontApp = status.frontApp;
  state.orientation = status.orientation;
  state.settingsOpen = pane_ && pane_->isOpen();
  if (state.settingsOpen) {
    for (const PSListControllerUser::Row& row : pane_->rows()) {
      state.settingsRows.push_back(settingsControlOf(row));
    }
    state.alerts = SettingsPageAdapter::alertsOf(*pane_);
  }
  state.buttonsInPicture = renderer_->buttonBoundsInImage(device, time_);
}

std::string LiveSession::savedScenario() const {
  Scenario saved = played_;
  saved.endTime = time_;
  return ScenarioWriter::write(saved);
}

double LiveSession::nextTaskTime() const {
  Device* device = runner_->device();
  return device ? device->nextTaskTime() : -1;
}

void LiveSession::runStarting(Device& device, double endTime) {
  presenter_->runStarting(device, endTime);
}

void LiveSession::advance(Device& device, double time) {
  presenter_->advance(device, time);
}

void LiveSession::willPerform(Device& device, const TimedAction& action) {
  presenter_->willPerform(device, action);
}

void LiveSession::didPerform(Device& device, const TimedAction& action) {
  presenter_->didPerform(device, action);
}

void LiveSession::settingsPaneChanged(PreferencesPaneHost* host) {
  pane_ = host;
  presenter_->settingsPaneChanged(host);
}

}  // namespace sim
