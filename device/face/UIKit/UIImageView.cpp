// UIImageView on the native image view (native/UIKit/NativeImageView.h).
#include "UIKit/UIImageView.h"

#include "UIKit/UIImage.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeImageView.h"

// A native image view takes no touches already, as the face's starts.
UIImageView::UIImageView(const CGRect& frame) : UIView(frame) {}

std::shared_ptr<UIImageView> UIImageView::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIImageView>(frame);
}

void UIImageView::setImage(std::shared_ptr<UIImage> image) {
  gw::native::imageview::setImage(
      gw::uikit::Access::nativeView(*this),
      image ? gw::uikit::Access::nativeImage(*image) : gw::native::Object());
  image_ = std::move(image);
}
