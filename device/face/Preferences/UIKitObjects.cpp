#include "UIKitObjects.h"

// The UIKit face's way to its native objects is its own header, beside its implementation; the
// page's controller goes through it and nothing else.
#if __has_include("face/UIKit/UIKitAccess.h")
#include "face/UIKit/UIKitAccess.h"

namespace gw::device {

gw::native::Object nativeViewController(UIViewController& controller) {
  return gw::uikit::Access::nativeController(controller);
}

std::shared_ptr<UITableView> tableViewForNative(const gw::native::Object& table) {
  return gw::uikit::Access::tableForNative(table);
}

}  // namespace gw::device
#endif
