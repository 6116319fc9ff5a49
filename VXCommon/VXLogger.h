// The tweak library's one logging facility. Every log site hands a log record ("file", "line",
// "function", "fmt") to logWithFormatArgs(), which composes a line tagged "<VX>" and passes it
// to the sink, log(). The sink discards every line: the tweak library writes no log output.
// Tests and the simulator may redirect the sink to watch the lines.
//
// Messages are never interpreted as formats after they are built: a "%" in a message or a
// function name reaches the sink unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "Foundation/Value.h"

class VXLogger {
 public:
  using Sink = std::function<void(std::string_view line)>;

  // Composes "<VX> file:line function message" and passes it on through print().
  static void logWithFormatArgs(const Foundation::Dictionary& record);
  // "<VX> text", or "<VX> received empty body" when there is no text (no format was given).
  static void print(std::optional<std::string_view> text);
  // The array's lines; `name` may be absent.
  static void printArray(const Foundation::Array& array, std::optional<std::string_view> name);
  // The dictionary's lines, nested arrays and dictionaries expanded; `name` may be absent.
  static void printDict(const Foundation::Dictionary& dict, std::optional<std::string_view> name);
  // The sink: discards `line` unless a redirect is set.
  static void log(std::string_view line);

  // Redirects the sink of the current process (an empty function restores discarding; a
  // restarted process discards again). Not for production use.
  static void setSinkForTesting(Sink sink);

  // Builds the log record of a call site: the last path component of `sourcePath`.
  static Foundation::Dictionary makeRecord(std::string_view sourcePath, int line,
                                           std::string_view function, std::string message);
};

// Fills a printf-style message with typed arguments: each "%d", "%i", "%u", "%ld", "%lu",
// "%lld", "%llu", "%s", "%@", "%f" takes the next argument's text; "%%" is "%". Arguments are
// converted by type, so no argument is ever read as something it is not; a conversion with no
// argument left stays as written, extra arguments are ignored.
std::string VXFormatMessage(std::string_view format, std::initializer_list<std::string> args);

namespace vx_logger_detail {
inline std::string toText(const std::string& s) {
  return s;
}
inline std::string toText(std::string_view s) {
  return std::string(s);
}
inline std::string toText(const char* s) {
  return s ? std::string(s) : std::string("(null)");
}
inline std::string toText(bool b) {
  return b ? "1" : "0";
}
// The shortest text that reads back as `d` ("0.3", "2", "1e+20"), whatever the conversion.
std::string toText(double d);
inline std::string toText(const Foundation::Value& v) {
  return v.description();
}
template <typename T>
requires std::is_integral_v<T> std::string toText(T v) {
  return std::to_string(v);
}
}  // namespace vx_logger_detail

template <typename... Args>
Foundation::Dictionary VXMakeLogRecord(std::string_view sourcePath, int line,
                                       std::string_view function, std::string_view format,
                                       const Args&... args) {
  return VXLogger::makeRecord(sourcePath, line, function,
                              VXFormatMessage(format, {vx_logger_detail::toText(args)...}));
}

// `line` is the number the record carries, given by the call site: the device's log readers
// know each message by its file and line, so the number must not follow edits above the call
// (nor depend on which line of a call spread over several the compiler would report).
//   VX_LOG(49, "-[VXTweakManager init]", "VXTweakManager initialized");
//   VX_LOG(135, "-[VXTweakManager shouldQuit]", "quiting state: disabled %d", a);
#define VX_LOG(line, function, ...) \
  VXLogger::logWithFormatArgs(VXMakeLogRecord(__FILE__, line, function, __VA_ARGS__))
