// NSLog: a line to the device's system log. There is no log file; each line is emitted as the
// device event "syslog" with "line", so that the simulator's timeline and tests can see it.
#pragma once

#include <cstddef>
#include <string_view>

// A longer line is cut to this many bytes.
inline constexpr std::size_t kNSLogMaxLineBytes = 4096;

// printf-style formatting (the object directive "%@" is not supported: pass text with "%s").
void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The line as it is, without formatting.
void NSLogLine(std::string_view line);
