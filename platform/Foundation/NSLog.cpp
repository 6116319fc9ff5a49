#include "Foundation/NSLog.h"

#include <string>

#include "Device/Device.h"
#include "Device/Process.h"

void NSLogLine(std::string_view line) {
  if (line.size() > kNSLogMaxLineBytes) line = line.substr(0, kNSLogMaxLineBytes);
  Process::current().device().emit("syslog",
                                   EventFields{{"line", EventValue::string(std::string(line))}});
}
