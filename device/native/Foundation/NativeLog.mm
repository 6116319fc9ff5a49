// Wraps NSLog.
#include "native/Foundation/NativeLog.h"

#import <Foundation/Foundation.h>

namespace gw::native::foundation {

void logLine(const std::string& line) {
  NSLog(@"%s", line.c_str());
}

}  // namespace gw::native::foundation
