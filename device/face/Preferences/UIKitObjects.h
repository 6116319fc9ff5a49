// What the settings bundle's face needs of the UIKit side of the adapter: the native object
// behind a C++ view controller (an alert the page presents), and a C++ table view standing
// for the framework's native table (the page's table(), which the product gives a header).
// Defined on the UIKit face's access to its native objects (UIKitObjects.cpp).
#pragma once

#include <memory>

#include "native/NativeObject.h"

class UITableView;
class UIViewController;

namespace gw::device {

// The UIViewController object that shows `controller`; empty when there is none.
gw::native::Object nativeViewController(UIViewController& controller);
// A C++ table view whose operations act on the native UITableView `table`; null for an empty
// Object.
std::shared_ptr<UITableView> tableViewForNative(const gw::native::Object& table);

}  // namespace gw::device
