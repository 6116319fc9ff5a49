// Presents one run of the simulator to the person who started it. It stands between the
// runner and the timeline's printer (it is the Timeline's printer, handing every event on
// to the printer it wraps, unchanged) and watches the run as the runner's observer:
//   - the human timeline (a TextTimelinePrinter, when that is the wrapped printer) is told
//     what the person does and how the device's state changes between events;
//   - with renderTo(), a FrameRecorder draws the phone at every visible change, captioned
//     with the events and actions since the last frame, and the storyboard at the end;
//   - with showProgress(), a ProgressMeter on a terminal tells how far a long run is;
//   - with collectPlotEvents(), the events a motion plot draws are kept for it.
// The device's clock is advanced from task to task, so a change of state shows at its time.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DeviceStatus.h"
#include "sim/SimulationObserver.h"
#include "sim/SuggestionTracker.h"
#include "sim/TimelinePrinter.h"
#include "sim/pictures/FrameRecorder.h"

namespace sim {

class ProgressMeter;
class TextTimelinePrinter;

class RunPresenter : public TimelinePrinter, public SimulationObserver {
 public:
  // What a caption note is about, for choosing the key frames.
  enum class NoteKind { Other, DragStep, LandscapeTurn, ButtonShown };
  struct NoteInfo {
    int weight = 0;  // how much it tells: 0 nothing ... 3 a turn of the story
    NoteKind kind = NoteKind::Other;
  };

  // `printer` may be null (nothing printed); `text` is the same printer when it is the
  // human form, else null.
  RunPresenter(std::unique_ptr<TimelinePrinter> printer, TextTimelinePrinter* text);
  ~RunPresenter() override;

  // Draws frames into `directory`; frames closer than `minimumIntervalSeconds` of device
  // time are skipped (a long replay wants a second or more).
  void renderTo(const std::filesystem::path& directory, double minimumIntervalSeconds);
  // A progress line on `terminal` (a terminal's stream), starting with `label`.
  // `sharesTerminal`: the timeline is printed to the same terminal, so the progress line is
  // taken off before each line of it.
  void showProgress(std::ostream& terminal, std::string label, bool sharesTerminal);
  // Keeps the events a motion plot draws ("orientation", "button", "lock", "boot").
  void collectPlotEvents() { collectPlotEvents_ = true; }

  // The storyboard shows at most this many key frames.
  static constexpr std::size_t kMaxKeyFrames = 16;
  // A frame that shows a button appearing is replaced by the last frame of its fade-in,
  // within this much device time.
  static constexpr double kFadeInLookAheadSeconds = 0.5;
  // A replay's samples are looked at for frames at most this often (device time): a change
  // of how the phone is held shows this much late at most, and a trace of hours at 100 Hz
  // does not cost a look at the screen per sample.
  static constexpr double kSampleLookSpacingSeconds = 0.1;

  // Writes the storyboard of the key frames drawn (storyboard.png in the frames' folder);
  // false with the reason in `error`.
  bool finishPictures(std::string_view title, std::string& error);
  // The frames the storyboard shows, in time order: the frames whose captions tell the most
  // (suggestions, taps, the lock, the front app; of a drag, its start and where it ended),
  // at most kMaxKeyFrames.
  std::vector<StoryboardFrame> keyFrames() const;
  const FrameRecorder* frames() const { return frames_.get(); }
  const std::vector<TimelineEvent>& plotEvents() const { return plotEvents_; }

  // TimelinePrinter
  void print(const TimelineEvent& event) override;
  void finish() override;

  // SimulationObserver
  void runStarting(Device& device, double endTime) override;
  void advance(Device& device, double time) override;
  void willPerform(Device& device, const TimedAction& action) override;
  void didPerform(Device& device, const TimedAction& action) override;
  void sampleApplied(Device& device, const TraceSample& sample) override;
  void settingsPaneChanged(PreferencesPaneHost* host) override;

 private:
  void runTo(Device& device, double time);
  // Looks at the device's state and tells the human timeline; `announce` as in
  // TextTimelinePrinter::status().
  void look(Device& device, bool announce);
  void beforeOutput();
  // Hands `text` to the frames as a caption note, remembering what it tells.
  void note(const std::string& text, NoteInfo info);

  std::unique_ptr<TimelinePrinter> printer_;
  TextTimelinePrinter* text_;
  std::unique_ptr<FrameRecorder> frames_;
  std::unique_ptr<ProgressMeter> progress_;
  std::ostream* progressStream_ = nullptr;
  std::string progressLabel_;
  bool progressSharesTerminal_ = false;
  double lastSampleCapture_ = -1;
  bool collectPlotEvents_ = false;
  std::vector<TimelineEvent> plotEvents_;
  PreferencesPaneHost* settingsPane_ = nullptr;
  Device* device_ = nullptr;  // the device of the run in progress
  DeviceStatus lastStatus_;   // for the frames' captions
  bool statusSeen_ = false;
  std::map<std::string, NoteInfo, std::less<>> notes_;
  SuggestionTracker suggestion_;  // for the captions of withdrawals
  bool framesFailed_ = false;
  std::string framesError_;
};

}  // namespace sim
