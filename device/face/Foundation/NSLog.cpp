#include "Foundation/NSLog.h"

#include <string>

#include "native/Foundation/NativeLog.h"

void NSLogLine(std::string_view line) {
  if (line.size() > kNSLogMaxLineBytes) line = line.substr(0, kNSLogMaxLineBytes);
  gw::native::foundation::logLine(std::string(line));
}
