// The timeline for people (the default form): one line per event in plain words, under a
// header, with an aligned time column and a state column (the orientation lock and the front
// app as they are at that moment), and a short summary at the end.
//
//       time  lock  front app                         event
//      3.000  on    com.example.reader portrait       button shown at (150, 367), 75×75
//      3.000  on    com.example.reader portrait       light haptic
//      4.000  on    com.example.reader portrait       ▸ tap the button
//      4.000  off   com.example.reader portrait       lock lifted by Gyrowhirl
//      4.000  off   com.example.reader landscape      com.example.reader turned to landscape left
//
// Besides the timeline's events it prints what the person holding the phone does (action(),
// "▸ ...") and the changes of the device's state that no event reports (status()); neither
// is part of the JSON Lines form. Lines are written as they happen, so a replay of hours
// never holds its timeline; the summary needs only counters.
//
// With `colour`, ANSI colours mark the kinds of line; without it the text has no escape
// codes at all.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "sim/DeviceStatus.h"
#include "sim/RunSummary.h"
#include "sim/Scenario.h"
#include "sim/TimelinePrinter.h"

namespace sim {

class TextTimelinePrinter : public TimelinePrinter {
 public:
  static constexpr std::size_t kTimeColumnWidth = 10;
  static constexpr std::size_t kLockColumnWidth = 4;
  static constexpr std::size_t kFrontColumnWidth = 32;
  // A `button` "removed" that ends a suggestion nobody tapped.
  static constexpr const char* kWithdrawnWords = "button withdrawn, untapped";

  explicit TextTimelinePrinter(std::ostream& out, bool colour = false);

  // Called before each line is written (to take a progress line off the same terminal).
  void setBeforeLine(std::function<void()> hook) { beforeLine_ = std::move(hook); }

  void print(const TimelineEvent& event) override;
  // Prints the summary.
  void finish() override;

  // What the person does at `time`, in plain words (EventWording::describeAction()).
  void action(double time, const std::string& text);
  // The device's state at `time`. A change is printed as a line of its own when `announce`
  // is true (the change was not what the person just asked for); the state column follows
  // the new state either way.
  void status(double time, const DeviceStatus& status, bool announce);

  // The front-app column's text: "com.example.reader portrait", "home screen", "Settings".
  static std::string frontColumn(const DeviceStatus& status);

 private:
  enum class LineKind { Event, Action, Change, Header };

  // A `lock` event sets the lock column.
  void followLock(const TimelineEvent& event);
  void writeLine(double time, const std::string& text, const char* textColour);
  const char* colourOf(const TimelineEvent& event) const;
  std::string paint(const std::string& text, const char* code) const;

  std::ostream& out_;
  bool colour_;
  std::function<void()> beforeLine_;
  bool headerWritten_ = false;
  DeviceStatus status_;
  bool statusKnown_ = false;  // status() was called: the front app is known
  bool lockKnown_ = false;    // ... or at least the lock, from a `lock` event
  DeviceStatus lastPrintedStatus_;
  bool anyLine_ = false;
  double lastTime_ = 0;
  RunSummary summary_;
  std::string line_;
};

}  // namespace sim
