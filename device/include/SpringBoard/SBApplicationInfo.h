// What the home screen knows about an installed app's bundle (SBApplicationInfo), on the
// system's object.
#pragma once

#include <string>

#include "native/NativeObject.h"

class SBApplicationInfo {
 public:
  explicit SBApplicationInfo(gw::native::Object info) : info_(std::move(info)) {}

  // The system's installInstanceID as text, for example the bundle folder as a file URL
  // "file:///var/containers/Bundle/Application/<UUID>/<Name>.app/"; empty when it has none.
  std::string installInstanceID() const;

 private:
  gw::native::Object info_;
};
