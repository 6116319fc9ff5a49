#include "Foundation/NSLog.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "Device/Device.h"
#include "Device/Process.h"

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

void NSLogLine(std::string_view line) {
  if (line.size() > kNSLogMaxLineBytes) line = line.substr(0, kNSLogMaxLineBytes);
  Process::current().device().emit("syslog",
                                   EventFields{{"line", EventValue::string(std::string(line))}});
}
