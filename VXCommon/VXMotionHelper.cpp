// The motion helper.
#include "VXCommon/VXMotionHelper.h"

#include "CoreMotion/CMDeviceMotion.h"
#include "ObjCRuntime/runtime.h"
#include "Runtime/ProcessStatic.h"
#include "SpringBoard/SBOrientationLockManager.h"
#include "VXCommon/VXLogger.h"
#include "VXCommon/VXOrientationClassifier.h"

namespace {

static_assert(VXMotionHelper::kSamplingIntervalSeconds == 0.30000001192092896);

// The class object of the home screen's orientation-lock manager, shared by the three lock
// operations of every helper in the process; empty until a lookup finds the class.
const gw::ProcessStatic<Class> lockManagerClass;

std::shared_ptr<SBOrientationLockManager> lockManager();

}  // namespace

std::shared_ptr<VXMotionHelper> VXMotionHelper::initWithDelegate(
    std::weak_ptr<VXMotionDelegate> delegate) {
  VX_LOG(26, "-[VXMotionHelper initWithDelegate:]", "VXMotionHelper initialized");
  return std::make_shared<VXMotionHelper>(Passkey(), std::move(delegate));
}

VXMotionHelper::VXMotionHelper(Passkey, std::weak_ptr<VXMotionDelegate> delegate)
    : mManager_(std::make_shared<CMMotionManager>()),
      currOrientation_(0),
      motionDelegate_(std::move(delegate)) {}

VXMotionHelper::~VXMotionHelper() {
  if (timer_) timer_->invalidate();
  timer_.reset();
}

void VXMotionHelper::run() {
  startCoreMotion();
  if (timer_) timer_->invalidate();
  // The timer holds the helper weakly: the helper's owner decides how long it samples.
  std::weak_ptr<VXMotionHelper> weakSelf = weak_from_this();
  timer_ = NSTimer::scheduledTimerWithTimeInterval(
      kSamplingIntervalSeconds,
      [weakSelf](NSTimer& firing) {
        if (auto self = weakSelf.lock()) self->tick(firing);
      },
      Foundation::Value(), true);
}

// Whether a gyroscope exists only decides the log line; sampling needs device motion alone.
// Updates are pulled by processOrientationState on every tick, so no handler, queue or
// update interval is given to the motion manager, and they are never stopped: the manager
// goes with the helper.
//
// The reference frame is CoreMotion's "X to magnetic north, Z vertical"; only roll and
// pitch are read, and those do not depend on the frame's heading.
void VXMotionHelper::startCoreMotion() {
  if (mManager_->isGyroAvailable()) {
    VX_LOG(62, "-[VXMotionHelper startCoreMotion]", "gyro is available");
  }
  if (mManager_->isDeviceMotionAvailable()) {
    // Logged just before the updates start, which is also when the timer's ticks begin to
    // find samples.
    VX_LOG(67, "-[VXMotionHelper startCoreMotion]", "motion is available");
    mManager_->startDeviceMotionUpdatesUsingReferenceFrame(
        CMAttitudeReferenceFrameXMagneticNorthZVertical);
  }
}

void VXMotionHelper::tick(NSTimer&) {
  processOrientationState();
}

void VXMotionHelper::processOrientationState() {
  const CMDeviceMotion* motion = mManager_->deviceMotion();
  const double roll = motion ? motion->attitude().roll() : 0.0;
  const double pitch = motion ? motion->attitude().pitch() : 0.0;
  const std::uint64_t orientation = VXOrientationClassifier::classify(roll, pitch);
  if (orientation == VXOrientationClassifier::kNone || orientation == currOrientation_) return;
  // The delegate hears the new class while currOrientation still holds the old one; a class
  // that finds no delegate is neither reported nor stored, so the first tick with a delegate
  // reports whatever holds then.
  auto delegate = motionDelegate_.lock();
  if (!delegate) return;
  delegate->orientationChanged(orientation);
  currOrientation_ = orientation;
}

bool VXMotionHelper::isDeviceOrientationLocked() {
  auto manager = lockManager();
  return manager && manager->isUserLocked();
}

void VXMotionHelper::lockDeviceOrientation() {
  if (auto manager = lockManager()) manager->lock();
}

void VXMotionHelper::unlockDeviceOrientation() {
  if (auto manager = lockManager()) manager->unlock();
}

namespace {

std::shared_ptr<SBOrientationLockManager> lockManager() {
  Class& cls = lockManagerClass.get();
  if (!cls) cls = objc_getClass(SBOrientationLockManager::kClassName);
  if (!cls) return nullptr;
  return SBOrientationLockManager::sharedInstance();
}

}  // namespace
