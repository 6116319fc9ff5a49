// UIWindow and UIWindowScene for the device face: the overlay window's scene, level, key status
// and root view controller, and the private setAutorotates: / _setSecure:.
#pragma once

#include "native/NativeObject.h"

namespace gw::native::window {

// Since iOS 13 a window is shown only in a window scene: attaches `window` to the application's
// foreground-active UIWindowScene, else to its first connected one. Does nothing while the
// window has a scene or when the application has none yet.
void attachToActiveScene(const Object& window);

double windowLevel(const Object& window);
void setWindowLevel(const Object& window, double level);
// Shows the window (attaching it to a scene first when it has none).
void show(const Object& window);
void makeKeyAndVisible(const Object& window);
void makeKey(const Object& window);
bool isKey(const Object& window);
// setRootViewController: — the controller's view must already be set (the face loads it).
void setRootViewController(const Object& window, const Object& controller);
// The private setAutorotates: and _setSecure:, sent only when the window answers them.
void setAutorotates(const Object& window, bool autorotates);
void setSecure(const Object& window, bool secure);
// [UIWindow valueForKey:key] for "keyWindow": the application's key window, empty for none.
Object keyWindow();

}  // namespace gw::native::window
