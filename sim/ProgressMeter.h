// A one-line progress indication on a terminal for long runs ("replaying  1h 02m of 3h 10m
// (33%)"), redrawn in place with a carriage return at most a few times a second of wall
// time. It shows itself only once a run has taken a moment (short runs never flicker), and
// clear() takes it off the line before anything else is printed to the same terminal.
//
// Only for a stream that is a terminal: the caller decides (isatty); the meter writes
// whenever it is asked to.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace sim {

class ProgressMeter {
 public:
  // Wall time before the meter first shows, and between redraws.
  static constexpr std::chrono::milliseconds kFirstShowAfter{400};
  static constexpr std::chrono::milliseconds kRedrawEvery{100};

  // `label` starts the line ("replaying", "running"); `endSeconds` is the device time the
  // run ends at.
  ProgressMeter(std::ostream& out, std::string label, double endSeconds);
  ~ProgressMeter();
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  // The run has reached `deviceSeconds`; redraws when it is time to.
  void update(double deviceSeconds);
  // Takes the line off the terminal (it comes back at the next redraw).
  void clear();

  // "42.0 s", "12 min 05 s", "3 h 10 min": device time as a person reads it.
  static std::string formatDuration(double seconds);
  // The line the meter draws (without the carriage return and erase codes).
  static std::string line(const std::string& label, double deviceSeconds, double endSeconds);

 private:
  std::ostream& out_;
  std::string label_;
  double endSeconds_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point lastDrawn_;
  bool visible_ = false;
  bool drawnOnce_ = false;
  std::uint32_t calls_ = 0;
};

}  // namespace sim
