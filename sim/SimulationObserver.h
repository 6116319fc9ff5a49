// What a SimulationRunner tells whoever presents its run (pictures, a person's timeline, a
// progress meter) besides the timeline's events. Every member has a default that does
// nothing (advance() just runs the clock), so an observer overrides only what it needs.
//
// Order within a run: runStarting() once the device is set up and before anything has run;
// then, for every moment the run stops at, advance() to that time, and either
// willPerform()/didPerform() around a scenario action or sampleApplied() after a trace sample
// set the attitude. All calls come between the device's tasks, never from inside one.
#pragma once

class Device;
class PreferencesPaneHost;

namespace sim {

struct TimedAction;
struct TraceSample;

class SimulationObserver {
 public:
  virtual ~SimulationObserver() = default;

  // `endTime`: the device time the run stops at, in seconds.
  virtual void runStarting(Device& /*device*/, double /*endTime*/) {}
  // Runs the device's clock to `time` (every task due by then runs). An observer that
  // overrides it must leave the clock at `time`.
  virtual void advance(Device& device, double time);
  virtual void willPerform(Device& /*device*/, const TimedAction& /*action*/) {}
  virtual void didPerform(Device& /*device*/, const TimedAction& /*action*/) {}
  virtual void sampleApplied(Device& /*device*/, const TraceSample& /*sample*/) {}
  // The Settings app's pane was opened (`host`) or closed (null); the host stays valid
  // until the next call or the end of the run.
  virtual void settingsPaneChanged(PreferencesPaneHost* /*host*/) {}
};

}  // namespace sim
