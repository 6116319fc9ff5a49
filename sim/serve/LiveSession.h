// One simulated device played live, for a person at a web page: the device is set up as a
// scenario says and its clock is moved on by the caller (following wall time); the scenario's
// own timed actions are played as the clock passes them, and the person's actions are
// performed at the moment they come. Everything the timeline records is kept in both forms
// (human lines, JSON Lines), and what was played can be written back as a scenario that
// `gyrowhirl-sim run` plays to the same timeline.
//
// Device time moves in whole milliseconds (kStepsPerSecond): the person's actions then
// happen at times a scenario writes exactly ("at 12.345"), so a saved session replays to the
// same events. Not thread-safe: one thread drives a session, and every session of a program
// from the same thread (the device's processes are current per thread).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "sim/Scenario.h"
#include "sim/SimulationObserver.h"
#include "sim/SimulationRunner.h"
#include "sim/pictures/AlertPainter.h"
#include "sim/serve/SettingsControl.h"

class PreferencesPaneHost;

namespace sim {

class DeviceRenderer;
class RunPresenter;
class TextTimelinePrinter;
class Timeline;

class LiveSession : public SimulationObserver {
 public:
  static constexpr double kStepsPerSecond = 1000;
  // The page shows the phone at about 400 pixels wide: pictures drawn at half a pixel per
  // point (about 500 pixels wide) are still sharp there, and take a quarter of the work to
  // draw and to encode as those drawn for files.
  static constexpr double kPicturePixelsPerPoint = 0.5;
  // Lines of each form kept for the page; older ones are dropped (a page that fell this far
  // behind starts again from the oldest kept).
  static constexpr std::size_t kMaxKeptLines = 20000;

  // What the page shows beside the picture.
  struct State {
    double time = 0;
    bool orientationLocked = false;
    bool deviceLocked = false;
    std::string frontApp;  // empty: the home screen
    long long orientation = 1;
    bool settingsOpen = false;
    std::vector<SettingsControl> settingsRows;
    std::vector<AlertContent> alerts;
    std::vector<CGRect> buttonsInPicture;  // the buttons on screen, in picture pixels
    std::vector<std::string> apps;         // installed bundle identifiers
    CGSize screen{};                       // in points, portrait
  };

  // Sets the device up (nothing is played yet); null with the reason in `error` when the
  // device cannot be made.
  static std::unique_ptr<LiveSession> start(Scenario scenario, std::string& error);
  ~LiveSession() override;
  LiveSession(const LiveSession&) = delete;
  LiveSession& operator=(const LiveSession&) = delete;

  double now() const;
  // Moves the clock on to `time` (rounded down to a whole step; never back), playing the
  // scenario's actions due by then at their own times.
  void advanceTo(double time);
  // The person performs `action` now.
  void perform(const Action& action);
  // Parses one action in the scenario language ("turn landscape", "drag 20 -40") against
  // this session's installed apps; nullopt with the reason in `error`.
  std::optional<Action> parseAction(const std::string& line, std::string& error) const;

  // Lines recorded so far, numbered from 0 in the order recorded; `first` is the number of
  // the first kept line.
  struct Lines {
    std::uint64_t first = 0;
    std::vector<std::string> text;
  };
  Lines humanLines(std::uint64_t from) const;
  Lines jsonLines(std::uint64_t from) const;
  std::uint64_t humanLineCount() const { return humanFirst_ + human_.size(); }

  // The phone's picture now, as PNG, lightly compressed (it crosses a loopback connection at
  // once). Drawn once for each look of the scene (pictureSignature()): while the scene stays,
  // the picture first drawn for it is given again, its caption's time that of that drawing.
  std::vector<std::uint8_t> picture();
  // Changes when the picture would show something else (the clock aside).
  std::uint64_t pictureSignature();
  // Where a pixel of the picture lies on the screen, in points.
  CGPoint screenPointForPicturePoint(CGPoint pixel);
  // The picture's way of turning picture pixels into screen points, for a drag: the
  // movement in points for a movement in pixels.
  CGPoint screenMovementForPictureMovement(CGPoint pixels);
  State state();

  // What was played so far as a scenario (setup, actions at their times, `end` now).
  std::string savedScenario() const;
  // The device's next task, in device seconds; negative when none.
  double nextTaskTime() const;

  // SimulationObserver (forwarded to the presenter)
  void runStarting(Device& device, double endTime) override;
  void advance(Device& device, double time) override;
  void willPerform(Device& device, const TimedAction& action) override;
  void didPerform(Device& device, const TimedAction& action) override;
  void settingsPaneChanged(PreferencesPaneHost* host) override;

 private:
  explicit LiveSession(Scenario scenario);
  void play(TimedAction timed);
  void collect();
  void readState(Device& device, State& state);

  Scenario scenario_;  // setup and the actions still to play
  std::size_t nextScenarioAction_ = 0;
  Scenario played_;  // setup and every action played, at its time
  std::ostringstream humanOut_;
  std::ostringstream jsonOut_;
  std::size_t humanRead_ = 0;
  std::size_t jsonRead_ = 0;
  std::vector<std::string> human_;
  std::uint64_t humanFirst_ = 0;
  std::vector<std::string> json_;
  std::uint64_t jsonFirst_ = 0;
  RunPresenter* presenter_ = nullptr;  // owned by the timeline
  std::unique_ptr<Timeline> timeline_;
  std::unique_ptr<SimulationRunner> runner_;
  std::unique_ptr<DeviceRenderer> renderer_;
  std::vector<std::uint8_t> picture_;  // the last picture drawn, empty when none
  std::uint64_t pictureDrawnFor_ = 0;  // ... and the scene's signature then
  PreferencesPaneHost* pane_ = nullptr;
  double time_ = 0;
};

}  // namespace sim
