// The home-screen application on the simulated device: the SpringBoard that the process named
// "SpringBoard" gets, answering from its device's HomeScreenState.
//
// Launch completion: the simulator boots the home screen by launching the process, loading
// the libraries that are injected into it, then calling finishLaunching(), which sends
// applicationDidFinishLaunching: to the application object (through the class's method
// table, so that a hook runs instead of the class's own implementation).
#pragma once

#include <memory>

#include "SpringBoard/SpringBoard.h"

class Device;
class ObjCClass;

class SimulatedSpringBoard final : public SpringBoard {
 public:
  explicit SimulatedSpringBoard(Device& device);

  std::shared_ptr<SBApplication> _accessibilityFrontMostApplication() const override;
  bool isLocked() const override;
  long long _frontMostAppOrientation() const override;

  // True once the class's own implementation of applicationDidFinishLaunching: has run.
  bool hasFinishedLaunching() const { return finishedLaunching_; }

  // The boot entry: the current process's application object finishes launching. False when
  // the current process is not the home screen's.
  static bool finishLaunching();

  // The class's own implementation of applicationDidFinishLaunching:.
  static void ownApplicationDidFinishLaunching(SpringBoard* self, SEL cmd,
                                               UIApplication* application);

 private:
  static void setUpClass(ObjCClass& cls);
  friend class SpringBoardClassDeclaration;

  std::weak_ptr<Device> device_;
  bool finishedLaunching_ = false;
};
