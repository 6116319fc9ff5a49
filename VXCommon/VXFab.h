// The floating button of a suggestion: a round, bordered button showing the lock image, maybe
// spinning, that the user taps (the alert helper wires the tap) or drags inside the screen's
// margins. It also holds the process-wide record FABFrame from which the next button takes its
// frame, and offers the button geometry (side lengths per scale type, the default place),
// whose decisions are the free functions of VXFabGeometry.h.
//
// FABFrame is computed from the stored origin once after start-up and once after each
// "VXPREFSUPDATED" broadcast (setFABFrame); every other button takes the frame the previous
// one last had, including where the user dragged it.
//
// While dragged the button posts "VXFab_Pan_Start" (no object) on every drag event but the
// first, and "VXFab_Pan_End" (the new top-left corner, a boxed point) when the drag ends.
//
// Ownership: made by initializeFabWithColor / initWithColor and held by std::shared_ptr (the
// alert helper and the overlay window); its pan recogniser holds it weakly. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIColor.h"

class UIImage;
class UIPanGestureRecognizer;

class VXFab : public UIButton {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // The folder of the button's image, under the device root, and the image's file name.
  static constexpr const char* kImageFolderPath = "/var/mobile/Library/Preferences/GyrowhirlPrefs";
  static constexpr const char* kLockImageFileName = "lock.png";
  static constexpr double kBorderWidthPoints = 2.0;
  // One turn (2π radians) every 1.5 s, 100 times: the button spins for 150 s, then rests.
  static constexpr double kRotationTurnRadians = 6.283185307179586;
  static constexpr double kRotationPeriodSeconds = 1.5;
  static constexpr float kRotationRepeatCount = 100.0f;

  // ---- class operations --------------------------------------------------------------------
  // Logs "VXFab initialized", then makes a button with initWithColor.
  static std::shared_ptr<VXFab> initializeFabWithColor(const UIColor& color, std::int32_t size,
                                                       CGPoint origin, bool animate);
  // Makes a button framed at FABFrame (computed first from `origin` when the record is due),
  // round, bordered, with the lock image when it loads and a pan recogniser; rotating when
  // `animate`. Alpha 1.
  static std::shared_ptr<VXFab> initWithColor(const UIColor& color, std::int32_t scale,
                                              CGPoint origin, bool animate);
  // Side length in points: 75 for scale type 2, 100 for 3, 50 for any other value.
  static float sizeForScaleType(std::int32_t scaleType);
  // Centred horizontally, top edge four side lengths above the screen's bottom edge. The
  // products with `scale` are single-precision; the sums double.
  static CGPoint defaultOriginWithScale(float scale);
  // The main screen's bounds, asked anew on every call.
  static CGRect screenBounds();
  // Computes FABFrame as (origin, size × size) when `origin` is not (0, 0) and the frame lies
  // on the screen (edges on the screen's edges count), else at the default origin, logging
  // why. Does nothing once it has computed since start-up or since the last
  // "VXPREFSUPDATED" broadcast.
  static void setFABFrame(CGPoint origin, float size);

  // The process-wide record: the frame the next button is created with, and after a drag the
  // frame of the button on screen.
  static CGRect FABFrame();

  VXFab(Passkey, const CGRect& frame);
  // dealloc: logs "VXFab deallocated" and leaves the default notification centre.
  ~VXFab() override;

  std::string className() const override { return "VXFab"; }

  // ---- instance operations -----------------------------------------------------------------
  // The drag handler. Began does nothing (its movement stays in the recogniser's translation
  // and comes with the first changed event). Every other state moves and clamps the button,
  // copies its frame into FABFrame and posts "VXFab_Pan_Start"; ended then also posts
  // "VXFab_Pan_End" with FABFrame's origin.
  void pan(UIPanGestureRecognizer& gesture);
  // Attaches a pan recogniser whose action is pan().
  void addPanGesture();
  // Moves the button by the recogniser's translation (through its transform), sets the
  // translation back to zero, then keeps the button inside the margins. The margins are
  // judged on the frame from before this event, in single precision: a fast drag may pass a
  // margin by one event's movement, and the next event puts it back on the margin,
  // discarding that event's own movement. `state` is not used.
  void updateFrameFromGesture(UIPanGestureRecognizer& gesture, std::int64_t state);
  // Sets the lock image as the normal state's background image when it loads.
  void setImage();
  using UIButton::setImage;  // the base's per-state image setter stays available
  // Adds the spinning of the lock image ("transform.rotation" under "rotationAnimation"). It
  // is presentation only: frame and transform stay as they are.
  void setAnimation();
  // Reads "lock.png" from the image folder afresh. Null, with a log line, when the folder is
  // missing, the file cannot be read, or its data is not an image.
  std::shared_ptr<UIImage> lockImage();
};
