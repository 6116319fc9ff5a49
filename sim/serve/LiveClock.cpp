#include "sim/serve/LiveClock.h"

#include <algorithm>
#include <iterator>

namespace sim {

bool LiveClock::isSpeed(double speed) {
  return std::find(std::begin(kSpeeds), std::end(kSpeeds), speed) != std::end(kSpeeds);
}

double LiveClock::deviceTime(double wall) const {
  if (!playing_ || wall <= anchorWall_) return anchorDevice_;
  return anchorDevice_ + (wall - anchorWall_) * speed_;
}

double LiveClock::wallTimeFor(double deviceTime, double wall) const {
  if (!playing_) return std::numeric_limits<double>::infinity();
  return std::max(wall, anchorWall_ + (deviceTime - anchorDevice_) / speed_);
}

void LiveClock::rebase(double wall) {
  anchorDevice_ = deviceTime(wall);
  anchorWall_ = wall;
}

void LiveClock::play(double wall) {
  rebase(wall);
  playing_ = true;
}

void LiveClock::pause(double wall) {
  rebase(wall);
  playing_ = false;
}

void LiveClock::setSpeed(double wall, double speed) {
  if (!isSpeed(speed)) return;
  rebase(wall);
  speed_ = speed;
}

void LiveClock::step(double wall, double seconds) {
  rebase(wall);
  if (seconds > 0) anchorDevice_ += seconds;
}

void LiveClock::catchUp(double wall, double deviceTime) {
  rebase(wall);
  anchorDevice_ = std::max(anchorDevice_, deviceTime);
}

}  // namespace sim
