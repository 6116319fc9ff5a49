// Samples the device attitude on a repeating 0.3 s timer, classifies it
// (VXOrientationClassifier) and tells its delegate each time the class changes. It is also the
// tweak library's only way to the home screen's orientation lock.
//
// Ownership: the creator (the tweak manager) owns the helper; the helper holds its delegate
// weakly, and its timer holds it weakly too, so dropping the helper stops the sampling (the
// destructor invalidates the timer). All calls are made on the main thread.
#pragma once

#include <cstdint>
#include <memory>

#include "CoreMotion/CMMotionManager.h"
#include "Foundation/NSRunLoop.h"
#include "VXCommon/VXMotionDelegate.h"

class VXMotionHelper : public std::enable_shared_from_this<VXMotionHelper> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // The single-precision 0.3 widened to double: 0.30000001192092896 s.
  static constexpr double kSamplingIntervalSeconds = static_cast<double>(0.3f);

  // Logs "VXMotionHelper initialized", creates the motion manager, sets currOrientation to 0
  // and keeps `delegate` weakly. Starts nothing.
  static std::shared_ptr<VXMotionHelper> initWithDelegate(std::weak_ptr<VXMotionDelegate> delegate);
  VXMotionHelper(Passkey, std::weak_ptr<VXMotionDelegate> delegate);
  // dealloc: invalidates and clears the timer. Device-motion updates are not stopped.
  ~VXMotionHelper();
  VXMotionHelper(const VXMotionHelper&) = delete;
  VXMotionHelper& operator=(const VXMotionHelper&) = delete;

  // startCoreMotion, then schedules the repeating sampling timer on the current run loop and
  // keeps it in timer(). Meant to be called once; a second call replaces (and invalidates)
  // the first timer instead of leaving two running.
  void run();
  // Logs "gyro is available" when there is a gyroscope; when device motion is available, logs
  // "motion is available" and starts updates in the magnetic-north reference frame (4).
  void startCoreMotion();
  // The timer's action; the timer is not read.
  void tick(NSTimer& timer);
  // Reads the latest attitude (roll and pitch 0.0 when there is no sample), classifies it,
  // and on a change to a class reports it to the delegate, then stores it. Nothing is
  // reported or stored while the delegate is absent. Allocates nothing.
  void processOrientationState();

  // The user's orientation lock, through the home screen's SBOrientationLockManager. Where
  // that class cannot be found, the lock reads as off and lock/unlock do nothing; the class is
  // looked up again on the next call until it is found, then kept for the process.
  bool isDeviceOrientationLocked();
  void lockDeviceOrientation();
  void unlockDeviceOrientation();

  // ---- properties ----------------------------------------------------------------------------
  const std::shared_ptr<CMMotionManager>& mManager() const { return mManager_; }
  const std::shared_ptr<NSTimer>& timer() const { return timer_; }
  void setTimer(std::shared_ptr<NSTimer> timer) { timer_ = std::move(timer); }
  // Last orientation reported: 0 before any report, then 1 or 2.
  std::uint64_t currOrientation() const { return currOrientation_; }
  void setCurrOrientation(std::uint64_t orientation) { currOrientation_ = orientation; }
  // Null once the delegate has gone away.
  std::shared_ptr<VXMotionDelegate> motionDelegate() const { return motionDelegate_.lock(); }
  void setMotionDelegate(std::weak_ptr<VXMotionDelegate> delegate) {
    motionDelegate_ = std::move(delegate);
  }

 private:
  std::shared_ptr<CMMotionManager> mManager_;
  std::shared_ptr<NSTimer> timer_;
  std::uint64_t currOrientation_ = 0;
  std::weak_ptr<VXMotionDelegate> motionDelegate_;
};
