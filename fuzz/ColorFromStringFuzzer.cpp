// colorFromString on any text: never a crash, and red, green and blue always within 0...1.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzDevice.h"
#include "UIKit/UIColor.h"
#include "VXCommon/VXPrefsLoader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static FuzzDevice device("SpringBoard");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UIColor color =
      colorFromString(std::string_view(reinterpret_cast<const char*>(data), size));
  for (double component : {color.red(), color.green(), color.blue()}) {
    if (!(component >= 0.0 && component <= 1.0)) __builtin_trap();
  }
  return 0;
}
