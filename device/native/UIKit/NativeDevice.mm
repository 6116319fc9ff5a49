// Wraps UIDevice's currentDevice (userInterfaceIdiom).
#include "native/UIKit/NativeDevice.h"

#import <UIKit/UIKit.h>

namespace gw::native::device {

std::int64_t userInterfaceIdiom() {
  return static_cast<std::int64_t>([UIDevice currentDevice].userInterfaceIdiom);
}

}  // namespace gw::native::device
