// What a page may ask of `serve`, read from the requests' JSON bodies and checked before
// anything reaches a device. Each reader gives nullopt with a message for the page when the
// body is not what it must be (not JSON, not an object, a field of the wrong type or out of
// range), so a request is answered with 400 and that message.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The largest request body the server reads (a scenario opened from the page).
inline constexpr std::size_t kMaxRequestBodyBytes = 512 * 1024;
// The longest action line: a scenario line, not data.
inline constexpr std::size_t kMaxActionLineBytes = 2000;
// Picture coordinates beyond this many pixels are no point of any picture.
inline constexpr double kMaxPicturePixels = 20000;
// The longest single step of a paused clock, in seconds.
inline constexpr double kMaxStepSeconds = 60;

// A session id as the page makes them: 8 to 64 letters, digits, '-' and '_'.
bool isSessionId(std::string_view id);

// Whether an opened file is a motion trace rather than a scenario: the page sends a trace as
// "text/csv" (any case, parameters such as a charset aside).
bool isTraceUpload(std::string_view contentType);

// {"line": "turn landscape"}: an action in the scenario language;
// {"tap": [x, y]}: a click or touch on the picture, in picture pixels;
// {"drag": [x, y, dx, dy]}: a drag on the picture from (x, y) by (dx, dy) pixels.
struct ActionRequest {
  enum class Kind { Line, Tap, Drag };
  Kind kind = Kind::Line;
  std::string line;
  double x = 0, y = 0, dx = 0, dy = 0;
};
std::optional<ActionRequest> readActionRequest(std::string_view body, std::string& error);

// {"play": true|false}, {"speed": 1|4}, {"step": seconds}.
struct ClockRequest {
  enum class Kind { Play, Pause, Speed, Step };
  Kind kind = Kind::Play;
  double value = 0;
};
std::optional<ClockRequest> readClockRequest(std::string_view body, std::string& error);

}  // namespace sim
