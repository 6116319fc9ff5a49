// The home screen's private interfaces (SpringBoard, SBApplication, SBApplicationInfo,
// SBOrientationLockManager). Each call answers with its default when the running system's
// object does not respond to the message.
#pragma once

#include <string>

#include "native/NativeObject.h"

namespace gw::native::springboard {

// [UIApplication sharedApplication]: the home-screen process's SpringBoard object.
Object sharedApplication();
// Whether `application` is an instance of the class SpringBoard (or a subclass).
bool isHomeScreenApplication(const Object& application);
// -[SpringBoard _accessibilityFrontMostApplication]: an SBApplication, or empty.
Object frontMostApplication(const Object& springBoard);
// -[SpringBoard isLocked]
bool isLocked(const Object& springBoard);
// -[SpringBoard _frontMostAppOrientation]; 1 (portrait) when unanswered.
long long frontMostAppOrientation(const Object& springBoard);

// -[SBApplication bundleIdentifier]
std::string bundleIdentifier(const Object& application);
// -[SBApplication info]: an SBApplicationInfo, or empty.
Object applicationInfo(const Object& application);
// -[SBApplicationInfo installInstanceID] as text (a string's text, a URL's absoluteString).
std::string installInstanceID(const Object& info);
// -[SBApplicationInfo supportedInterfaceOrientations]; 0 when unanswered.
unsigned supportedInterfaceOrientations(const Object& info);
// -[SBApplicationInfo bundleURL]'s path, without a trailing "/"; empty when unanswered.
std::string bundlePath(const Object& info);

// +[SBOrientationLockManager sharedInstance]; empty outside the home-screen process.
Object orientationLockManager();
// -[SBOrientationLockManager isUserLocked], -lock, -unlock.
bool isUserLocked(const Object& manager);
void lockOrientation(const Object& manager);
void unlockOrientation(const Object& manager);

}  // namespace gw::native::springboard
