// The floating button.
#include "VXCommon/VXFab.h"

#include "Foundation/NSFileManager.h"
#include "Foundation/NSNotificationCenter.h"
#include "QuartzCore/CABasicAnimation.h"
#include "Runtime/ProcessStatic.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIScreen.h"
#include "VXCommon/VXFabGeometry.h"
#include "VXCommon/VXLogger.h"

// Whatever the caller's scale type, the button is made and framed by initWithColor; this entry
// only adds the log line, which is written before the button exists, so it appears even for a
// button whose making goes wrong.
std::shared_ptr<VXFab> VXFab::initializeFabWithColor(const UIColor& color, std::int32_t size,
                                                     CGPoint origin, bool animate) {
  VX_LOG(19, "+[VXFab initializeFabWithColor:size:origin:animate:]", "VXFab initialized");
  return initWithColor(color, size, origin, animate);
}

namespace {

constexpr const char* kSetFABFrameFunction = "+[VXFab setFABFrame:size:]_block_invoke";
constexpr const char* kPrefsUpdatedNotification = "VXPREFSUPDATED";
constexpr const char* kPanStartNotification = "VXFab_Pan_Start";
constexpr const char* kPanEndNotification = "VXFab_Pan_End";

// FABFrame, and its one-time guard FABFrameOnce: pending until setFABFrame has computed the
// frame, and pending again after each preferences broadcast once the observer exists.
enum class FABFrameOnce { Pending, Done };
const gw::ProcessStatic<CGRect> FABFrameRecord;
const gw::ProcessStatic<FABFrameOnce> FABFrameOnceRecord([] { return FABFrameOnce::Pending; });
// The "VXPREFSUPDATED" observer that re-arms the guard; registered once, kept for the process.
const gw::ProcessStatic<NSNotificationCenter::ObserverToken> rearmObserver;

// Start-up initialiser, second of the library's three: the zero rectangle until computed.
GW_LIBRARY_INITIALISER("Gyrowhirl", 2, [] { FABFrameRecord.get() = CGRectZero; });

}  // namespace

void VXFab::setFABFrame(CGPoint origin, float size) {
  FABFrameOnce& once = FABFrameOnceRecord.get();
  if (once == FABFrameOnce::Done) return;
  once = FABFrameOnce::Done;
  const VXFabPlacement placement = VXFabPlace(origin, size, screenBounds());
  if (placement.originIsZero) {
    VX_LOG(54, kSetFABFrameFunction, "origin is zero, will display at default");
  }
  if (placement.offScreen) VX_LOG(57, kSetFABFrameFunction, "screen doesn't contains FAB's frame");
  FABFrameRecord.get() = placement.frame;
  // The observer only sets the guard back, so that the first button after a settings change
  // is placed afresh; it is registered by the first computation of the process.
  if (!rearmObserver.get()) {
    rearmObserver.get() = NSNotificationCenter::defaultCenter().addObserverForName(
        kPrefsUpdatedNotification,
        [](const NSNotification&) { FABFrameOnceRecord.get() = FABFrameOnce::Pending; });
  }
}

CGRect VXFab::FABFrame() {
  return FABFrameRecord.get();
}

// The look is set in a fixed order: colour, clipping, corner radius, border width and colour,
// interaction; then the image and the drag recogniser, and last the rotation.
std::shared_ptr<VXFab> VXFab::initWithColor(const UIColor& color, std::int32_t scale,
                                            CGPoint origin, bool animate) {
  const float side = sizeForScaleType(scale);
  setFABFrame(origin, side);
  auto fab = std::make_shared<VXFab>(Passkey(), FABFrameRecord.get());
  fab->setBackgroundColor(color);
  fab->setClipsToBounds(true);
  fab->layer()->setCornerRadius(static_cast<double>(side * 0.5f));  // a circle
  fab->layer()->setBorderWidth(kBorderWidthPoints);
  fab->layer()->setBorderColor(UIColor::blackColor().CGColor());
  fab->setUserInteractionEnabled(true);
  fab->setImage();
  fab->addPanGesture();
  if (animate) fab->setAnimation();
  return fab;
}

VXFab::VXFab(Passkey, const CGRect& frame) : UIButton(frame) {}

// The button observes nothing itself (the re-arming observer belongs to the class); leaving
// the centre only makes sure no registration outlives it.
VXFab::~VXFab() {
  VX_LOG(99, "-[VXFab dealloc]", "VXFab deallocated");
  NSNotificationCenter::defaultCenter().removeObserver(this);
}

void VXFab::pan(UIPanGestureRecognizer& gesture) {
  const UIGestureRecognizerState state = gesture.state();
  if (state == UIGestureRecognizerStateBegan) return;
  updateFrameFromGesture(gesture, state);
  FABFrameRecord.get() = frame();
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  center.postNotificationName(kPanStartNotification);
  if (state == UIGestureRecognizerStateEnded) {
    center.postNotificationName(kPanEndNotification,
                                Foundation::Value::point(FABFrameRecord.get().origin));
  }
}

void VXFab::addPanGesture() {
  auto self = std::static_pointer_cast<VXFab>(weak_from_this().lock());
  if (!self) return;  // only a shared button can be a weak target
  addGestureRecognizer(UIPanGestureRecognizer::initWithTarget(self, &VXFab::pan));
}

void VXFab::updateFrameFromGesture(UIPanGestureRecognizer& gesture, std::int64_t /*state*/) {
  // The screen is asked once for each dimension, as the device code does.
  const CGSize screen = CGSizeMake(screenBounds().size.width, screenBounds().size.height);
  const CGRect before = frame();
  // The drag moves the button through its transform; frame() follows it on screen.
  const std::shared_ptr<UIView> self = weak_from_this().lock();
  const CGPoint translation = gesture.translationInView(self);
  setTransform(CGAffineTransformTranslate(transform(), translation.x, translation.y));
  gesture.setTranslation(CGPointZero, self);
  // Back on the margin, both axes from the old frame: this event's movement is discarded.
  if (const std::optional<CGRect> clamped = VXFabClampedFrame(before, screen)) setFrame(*clamped);
}

void VXFab::setImage() {
  if (std::shared_ptr<UIImage> image = lockImage()) {
    setBackgroundImage(std::move(image), UIControlStateNormal);
  }
}

void VXFab::setAnimation() {
  auto rotation = CABasicAnimation::animationWithKeyPath("transform.rotation");
  rotation->setFromValue(Foundation::Value::integer(0));
  rotation->setToValue(Foundation::Value::real(kRotationTurnRadians));
  rotation->setDuration(kRotationPeriodSeconds);
  rotation->setRepeatCount(kRotationRepeatCount);
  layer()->addAnimation(rotation, "rotationAnimation");
}

// The image is read afresh for each button: the settings pane may replace it meanwhile. The
// existence test is on the folder; a folder without the image is a read error.
std::shared_ptr<UIImage> VXFab::lockImage() {
  const std::string folder = kImageFolderPath;
  if (NSFileManager::defaultManager().fileExistsAtPath(folder)) {
    const std::string path = folder + "/" + kLockImageFileName;
    std::string error;
    const std::optional<Foundation::Data> data =
        NSData::dataWithContentsOfFile(path, NSDataReadingMappedIfSafe, &error);
    if (!data) {
      VX_LOG(183, "-[VXFab lockImage]", "error loading image data. error %@", error);
      return nullptr;
    }
    // Data that is not an image decodes to nothing. Each failure leaves the button without
    // image, showing only its background colour and border; none of them keeps a button from
    // being made.
    std::shared_ptr<UIImage> image = UIImage::imageWithData(*data);
    if (!image) VX_LOG(190, "-[VXFab lockImage]", "image not loaded");
    return image;
  }
  VX_LOG(193, "-[VXFab lockImage]", "file doesn't exist");
  return nullptr;
}

float VXFab::sizeForScaleType(std::int32_t scaleType) {
  return VXFabSideForScaleType(scaleType);
}

CGPoint VXFab::defaultOriginWithScale(float scale) {
  return VXFabDefaultOrigin(scale, screenBounds().size);
}

CGRect VXFab::screenBounds() {
  return UIScreen::mainScreen().bounds();
}
