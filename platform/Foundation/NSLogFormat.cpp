// NSLog's formatting, the same on the simulated device and the real one; each writes the line
// its own way (NSLogLine).
#include "Foundation/NSLog.h"

#include <cstdarg>
#include <cstdio>

void NSLog(const char* format, ...) {
  if (format == nullptr) return;
  char buffer[kNSLogMaxLineBytes + 1];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  if (length < 0) return;
  NSLogLine(buffer);
}
