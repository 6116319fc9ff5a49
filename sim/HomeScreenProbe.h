// What the simulator watches inside the home-screen process, beyond the device events that
// the platform emits by itself. Installed by the runner each time a home-screen process
// starts (the first boot, a scenario's `respring`, a restart of the user interface), inside
// that process, before the tweak library is loaded into it and before its launch completes.
//
// Preference broadcasts: an observer of "VXPREFSUPDATED" on the process's default centre,
// registered before the library exists, so it also hears the delayed first broadcast and,
// being the first observer, hears each broadcast before the library's own observers react.
// Each broadcast becomes the device event "prefs" with "entries", the broadcast dictionary.
//
// Motion reports: the tweak manager keeps what its motion helper reports to itself, so the
// reports are made visible by a shadow: a second VXMotionHelper, the same class as the
// manager's, whose delegate (OrientationRecorder) turns each report into the device event
// "orientation". It reads the same attitude (the device's motion hardware), on the same
// 0.3 s repeating timer of the same run loop, started in the same instant as the manager's
// helper (launch completion follows the launch without the clock moving), so both tick at
// the same fire dates and see the same samples. Being scheduled first, the shadow fires
// first at every tick: the report appears in the timeline just before what the manager does
// about it. Its reports equal the manager helper's because the manager, its delegate, lives
// as long as the process: the helper never meets a missing delegate. The shadow is made
// before any log sink is set, so its own log lines never reach the timeline.
//
// (Rejected: replacing the manager helper's delegate by a forwarding recorder would change the
// object graph of the system under test; diffing the helper's state after each task would put
// the report after its consequences.)
#pragma once

class Device;

namespace sim {

class HomeScreenProbe {
 public:
  // Installs the probe into the current process, which must be a freshly launched home-screen
  // process of `device`. The probe lives until the process ends.
  static void install(Device& device);
};

}  // namespace sim
