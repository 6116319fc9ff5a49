#include "sim/app/RunPresenter.h"

#include <algorithm>
#include <variant>

#include "Device/Device.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "VXCommon/VXOrientationClassifier.h"
#include "sim/EventWording.h"
#include "sim/ProgressMeter.h"
#include "sim/Scenario.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/TraceReader.h"
#include "sim/pictures/FrameRecorder.h"
#include "sim/pictures/SettingsPageAdapter.h"

namespace sim {
namespace {

bool isPlotEvent(const std::string& name) {
  return name == "orientation" || name == "button" || name == "lock" || name == "boot";
}

constexpr std::string_view kCaptionSeparator = "; ";

using NoteInfo = RunPresenter::NoteInfo;
using NoteKind = RunPresenter::NoteKind;

// What an event tells in a picture's caption (weights: 3 a turn of the story, 2 worth a
// picture, 1 a detail, 0 nothing for a caption).
NoteInfo eventNote(const TimelineEvent& event) {
  const std::string& name = event.name;
  if (name == "lock") return {EventWording::text(event, "by") == "tweak" ? 3 : 2};
  if (name == "boot" || name == "alert") return {3};
  if (name == "button") {
    const std::string state = EventWording::text(event, "state");
    if (state == "shown") return {3, NoteKind::ButtonShown};
    if (state == "moved") return {1, NoteKind::DragStep};
    return {1};  // removed: a withdrawal weighs more (see print())
  }
  if (name == "spawn" || name == "url") return {2};
  if (name == "log" || name == "notify" || name == "prefs" || name == "page") return {0};
  return {1};  // reports, haptics, touches, files, system log lines
}

NoteInfo actionNote(const Action& action) {
  if (const auto* attitude = std::get_if<AttitudeAction>(&action)) {
    // Turning to landscape is what the story is about; what follows an upright turn (the
    // lock put back) tells itself.
    if (VXOrientationClassifier::classify(attitude->roll, attitude->pitch) ==
        VXOrientationClassifier::kLandscape) {
      return {2, NoteKind::LandscapeTurn};
    }
    return {1};
  }
  if (std::holds_alternative<TapAction>(action) || std::holds_alternative<TouchAction>(action) ||
      std::holds_alternative<DragAction>(action) ||
      std::holds_alternative<RespringAction>(action) ||
      std::holds_alternative<BootAction>(action)) {
    return {3};
  }
  // Opening and leaving the settings pane, and files written behind its back: the frames of
  // the changes made in it tell more.
  if (std::holds_alternative<PrefsWriteAction>(action) ||
      std::holds_alternative<PrefsDeleteAction>(action) ||
      std::holds_alternative<SettingsOpenAction>(action) ||
      std::holds_alternative<SettingsCloseAction>(action)) {
    return {1};
  }
  return {2};  // apps in front, locks, settings changes, alerts answered
}

std::vector<std::string_view> captionParts(std::string_view caption) {
  std::vector<std::string_view> parts;
  while (!caption.empty()) {
    const std::size_t end = caption.find(kCaptionSeparator);
    parts.push_back(caption.substr(0, end));
    if (end == std::string_view::npos) break;
    caption.remove_prefix(end + kCaptionSeparator.size());
  }
  return parts;
}

// Actions whose whole point is a change of the state column: their own line says it.
bool changesStateItself(const Action& action) {
  return std::holds_alternative<FrontAction>(action) ||
         std::holds_alternative<HomeAction>(action) ||
         std::holds_alternative<DeviceLockAction>(action) ||
         std::holds_alternative<SettingsOpenAction>(action) ||
         std::holds_alternative<SettingsCloseAction>(action);
}

}  // namespace

RunPresenter::RunPresenter(std::unique_ptr<TimelinePrinter> printer, TextTimelinePrinter* text)
    : printer_(std::move(printer)), text_(text) {
  if (text_) text_->setBeforeLine([this] { beforeOutput(); });
}

RunPresenter::~RunPresenter() = default;

void RunPresenter::renderTo(const std::filesystem::path& directory, double minimumIntervalSeconds) {
  frames_ = std::make_unique<FrameRecorder>(directory, RenderOptions{}, minimumIntervalSeconds);
  DeviceRenderer& renderer = frames_->renderer();
  renderer.setSettingsPageSource([this](Device&) -> std::optional<SettingsPageContent> {
    if (!settingsPane_ || !settingsPane_->isOpen()) return std::nullopt;
    return SettingsPageAdapter::pageOf(*settingsPane_);
  });
  renderer.setAlertSource([this](Device&) -> std::vector<AlertContent> {
    if (!settingsPane_ || !settingsPane_->isOpen()) return {};
    return SettingsPageAdapter::alertsOf(*settingsPane_);
  });
}

void RunPresenter::showProgress(std::ostream& terminal, std::string label, bool sharesTerminal) {
  progressStream_ = &terminal;
  progressLabel_ = std::move(label);
  progressSharesTerminal_ = sharesTerminal;
}

void RunPresenter::note(const std::string& text, NoteInfo info) {
  frames_->note(text);
  // A caption joins notes with "; ": each part is looked up on its own.
  for (std::string_view part : captionParts(text)) {
    auto [entry, added] = notes_.try_emplace(std::string(part), info);
    if (!added && info.weight > entry->second.weight) entry->second = info;
  }
}

std::vector<StoryboardFrame> RunPresenter::keyFrames() const {
  if (!frames_) return {};
  const std::vector<StoryboardFrame>& all = frames_->frames();
  struct Told {
    int weight = 0;
    bool dragStep = false;
    bool landscapeTurn = false;
    bool buttonShown = false;
  };
  std::vector<Told> told(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::string_view part : captionParts(all[i].caption)) {
      auto found = notes_.find(part);
      if (found == notes_.end()) continue;
      const NoteInfo& info = found->second;
      told[i].weight = std::max(told[i].weight, info.weight);
      told[i].dragStep = told[i].dragStep || info.kind == NoteKind::DragStep;
      told[i].landscapeTurn = told[i].landscapeTurn || info.kind == NoteKind::LandscapeTurn;
      told[i].buttonShown = told[i].buttonShown || info.kind == NoteKind::ButtonShown;
    }
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    Told& frame = told[i];
    const bool nextSoon = i + 1 < all.size() && all[i + 1].time - all[i].time <= 1.0;
    if (frame.dragStep && frame.weight <= 1) {
      // Of the button's steps along a drag, the last shows where it was left.
      frame.weight = nextSoon && told[i + 1].dragStep ? 0 : 3;
    } else if (frame.landscapeTurn && frame.weight <= 2) {
      // A turn that a button soon follows: the button's frame tells it. A turn that brings
      // no suggestion is a point of the story of its own.
      frame.weight = nextSoon && told[i + 1].buttonShown ? 1 : 3;
    }
  }
  // The most telling frames, as many as fit, then back in time order.
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (told[i].weight > 1 || (told[i].weight == 1 && all.size() <= kMaxKeyFrames)) {
      chosen.push_back(i);
    }
  }
  if (chosen.empty()) {
    // Nothing told: the first and the last picture.
    if (!all.empty()) chosen.push_back(0);
    if (all.size() > 1) chosen.push_back(all.size() - 1);
  }
  // Too many: of the least telling frames, the one closest in time to the frame after it
  // goes first (of a quick series, the last picture stays), so that what is kept spreads
  // over the run. The first and the last frame stay.
  while (chosen.size() > kMaxKeyFrames && chosen.size() > 2) {
    std::size_t drop = 0;
    for (std::size_t k = 1; k + 1 < chosen.size(); ++k) {
      const double gap = all[chosen[k + 1]].time - all[chosen[k]].time;
      if (drop == 0 || told[chosen[k]].weight < told[chosen[drop]].weight ||
          (told[chosen[k]].weight == told[chosen[drop]].weight &&
           gap < all[chosen[drop + 1]].time - all[chosen[drop]].time)) {
        drop = k;
      }
    }
    chosen.erase(chosen.begin() + static_cast<std::ptrdiff_t>(drop));
  }
  std::vector<StoryboardFrame> key;
  for (std::size_t i : chosen) {
    StoryboardFrame frame = all[i];
    if (told[i].buttonShown) {
      // A button fades in from nothing: show the end of the fade, under the same caption.
      std::size_t last = i;
      while (last + 1 < all.size() && all[last + 1].caption.empty() &&
             all[last + 1].time - all[i].time <= kFadeInLookAheadSeconds) {
        ++last;
      }
      frame.time = all[last].time;
      frame.png = all[last].png;
      frame.crop = all[last].crop;
      frame.marks = all[last].marks;
    }
    key.push_back(std::move(frame));
  }
  return key;
}

bool RunPresenter::finishPictures(std::string_view title, std::string& error) {
  if (!frames_) return true;
  if (framesFailed_) {
    error = framesError_;
    return false;
  }
  return Storyboard::write(keyFrames(), frames_->directory() / FrameRecorder::kStoryboardFileName,
                           title, error);
}

void RunPresenter::beforeOutput() {
  if (progress_ && progressSharesTerminal_) progress_->clear();
}

void RunPresenter::print(const TimelineEvent& event) {
  // The state column as it is when the event happens (a pane that opened, an app that
  // turned a moment ago).
  if (device_) look(*device_, true);
  if (collectPlotEvents_ && isPlotEvent(event.name)) plotEvents_.push_back(event);
  if (frames_) {
    NoteInfo info = eventNote(event);
    if (suggestion_.follow(event) == SuggestionTracker::Step::Withdrawn) {
      // A button withdrawn untapped is a point of the story; one fading after a tap is not.
      note(TextTimelinePrinter::kWithdrawnWords, {3});
    } else if (info.weight != 0) {
      note(EventWording::describe(event), info);
    }
  }
  if (printer_) {
    beforeOutput();
    printer_->print(event);
  }
}

void RunPresenter::finish() {
  device_ = nullptr;  // the run is over; the device goes with the runner
  progress_.reset();  // takes its line off the terminal
  if (printer_) printer_->finish();
}

void RunPresenter::runStarting(Device& device, double endTime) {
  device_ = &device;
  if (progressStream_) {
    progress_ = std::make_unique<ProgressMeter>(*progressStream_, progressLabel_, endTime);
  }
  look(device, false);
  if (frames_) frames_->capture(device);
}

void RunPresenter::runTo(Device& device, double time) {
  if (frames_) {
    if (!frames_->advance(device, time) && !framesFailed_) {
      framesFailed_ = true;
      framesError_ = frames_->error();
    }
  } else {
    device.runUntil(time);
  }
}

void RunPresenter::advance(Device& device, double time) {
  if (!text_ && !frames_ && !progress_) {
    device.runUntil(time);
    return;
  }
  // From task to task: a change that no event reports (an app turning once the lock is
  // lifted) shows at the time it happened.
  while (true) {
    const double next = device.nextTaskTime();
    if (next < 0 || next > time) break;
    runTo(device, std::max(next, device.now()));
    look(device, true);
    if (progress_) progress_->update(device.now());
  }
  runTo(device, time);
  look(device, true);
  if (progress_) progress_->update(device.now());
}

void RunPresenter::willPerform(Device& device, const TimedAction& action) {
  if (!text_ && !frames_) return;
  const std::string words = EventWording::describeAction(action.action);
  if (frames_) note(words, actionNote(action.action));
  if (text_) text_->action(device.now(), words);
}

void RunPresenter::didPerform(Device& device, const TimedAction& action) {
  look(device, !changesStateItself(action.action));
  if (frames_ && !frames_->capture(device) && !framesFailed_) {
    framesFailed_ = true;
    framesError_ = frames_->error();
  }
}

void RunPresenter::sampleApplied(Device& device, const TraceSample& /*sample*/) {
  // The attitude turns an unlocked app at once.
  look(device, true);
  if (frames_ && !(device.now() - lastSampleCapture_ < kSampleLookSpacingSeconds)) {
    lastSampleCapture_ = device.now();
    frames_->capture(device);
  }
  if (progress_) progress_->update(device.now());
}

void RunPresenter::settingsPaneChanged(PreferencesPaneHost* host) {
  settingsPane_ = host;
}

void RunPresenter::look(Device& device, bool announce) {
  if (!text_ && !frames_) return;
  DeviceStatus now = DeviceStatus::of(device);
  now.settingsOpen = settingsPane_ && settingsPane_->isOpen();
  if (text_) text_->status(device.now(), now, announce);
  if (frames_ && announce && statusSeen_) {
    const std::string change = EventWording::describeChange(lastStatus_, now);
    if (!change.empty()) note(change, {2});
  }
  lastStatus_ = now;
  statusSeen_ = true;
}

}  // namespace sim
