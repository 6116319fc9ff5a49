// The device time of a live session as wall time passes: while playing it runs at its speed
// (1 for real time, 4 for four times as fast), while paused it stands; a step moves it on by a
// given amount either way. Times are seconds; wall time is any steady clock's reading.
#pragma once

#include <limits>

namespace sim {

class LiveClock {
 public:
  // The speeds a person may choose.
  static constexpr double kSpeeds[] = {1, 4};
  static bool isSpeed(double speed);

  // Paused at device time `deviceStart`.
  explicit LiveClock(double deviceStart = 0) : anchorDevice_(deviceStart) {}

  double deviceTime(double wall) const;
  // The wall time, not before `wall`, at which the device time reaches `deviceTime`;
  // infinity while paused.
  double wallTimeFor(double deviceTime, double wall) const;
  bool playing() const { return playing_; }
  double speed() const { return speed_; }

  void play(double wall);
  void pause(double wall);
  // Keeps the device time at `wall` and runs on at `speed` (one of kSpeeds).
  void setSpeed(double wall, double speed);
  void step(double wall, double seconds);
  // The device went ahead of the clock (to `deviceTime`): the clock continues from there.
  void catchUp(double wall, double deviceTime);

 private:
  void rebase(double wall);

  double anchorWall_ = 0;
  double anchorDevice_ = 0;
  double speed_ = 1;
  bool playing_ = false;
};

}  // namespace sim
