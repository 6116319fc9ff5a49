#include "Foundation/NSBundle.h"

#include "face/Foundation/PropertyListValues.h"
#include "native/Foundation/NativeBundle.h"

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view path) {
  if (path.empty()) return nullptr;
  std::optional<std::string> found = gw::native::foundation::bundlePath(std::string(path));
  if (!found) return nullptr;
  while (found->size() > 1 && found->back() == '/') found->pop_back();
  return std::make_shared<NSBundle>(std::move(*found));
}

const Foundation::Dictionary& NSBundle::infoDictionary() const {
  if (!info_) {
    const auto node = gw::native::foundation::bundleInfoDictionary(path_);
    info_ = node ? gw::device::dictionaryFromNode(*node) : Foundation::Dictionary();
  }
  return *info_;
}
