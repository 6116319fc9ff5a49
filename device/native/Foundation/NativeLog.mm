// Wraps NSLog, with the line as the only argument of "%@".
#include "native/Foundation/NativeLog.h"

#import <Foundation/Foundation.h>

namespace gw::native::foundation {

void logLine(const std::string& line) {
  // %s would read the bytes in the system's C string encoding, not as UTF-8.
  NSString* text = [[NSString alloc] initWithBytes:line.data()
                                            length:line.size()
                                          encoding:NSUTF8StringEncoding];
  if (text == nil) {
    text = [[NSString alloc] initWithBytes:line.data()
                                    length:line.size()
                                  encoding:NSISOLatin1StringEncoding];
  }
  NSLog(@"%@", text);
}

}  // namespace gw::native::foundation
