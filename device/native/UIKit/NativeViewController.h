// UIViewController for the device face: a plain controller, its view, and modal presentation.
#pragma once

#include <functional>

#include "native/NativeObject.h"

namespace gw::native::controller {

// [UIViewController new].
Object make();
// The controller's view property: set to `view`, which UIKit then uses instead of loading one.
void setView(const Object& controller, const Object& view);
// presentViewController:animated:completion: / dismissViewControllerAnimated:completion:.
void present(const Object& presenter, const Object& controller, bool animated,
             std::function<void()> completion);
void dismiss(const Object& presenter, bool animated, std::function<void()> completion);

}  // namespace gw::native::controller
