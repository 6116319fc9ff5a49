#include "Foundation/NSBundle.h"

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/NSFileManager.h"

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view path) {
  std::string normalised(path);
  while (normalised.size() > 1 && normalised.back() == '/') normalised.pop_back();
  if (normalised.empty()) return nullptr;
  if (!Device::current().fileSystem().isDirectory(normalised)) return nullptr;
  return std::make_shared<NSBundle>(std::move(normalised));
}

const Foundation::Dictionary& NSBundle::infoDictionary() const {
  if (!info_) {
    std::string plistPath = path_ == "/" ? "/Info.plist" : path_ + "/Info.plist";
    info_ =
        NSDictionary::dictionaryWithContentsOfFile(plistPath).value_or(Foundation::Dictionary());
  }
  return *info_;
}
