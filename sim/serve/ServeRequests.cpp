#include "sim/serve/ServeRequests.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <vector>

#include "sim/TextUtilities.h"
#include "sim/serve/LiveClock.h"

namespace sim {
namespace {

using nlohmann::json;

// Nesting deeper than any request needs is refused before parsing: a body of a few hundred
// kilobytes of brackets would otherwise make a value that deep.
constexpr int kMaxNesting = 8;

bool nestsTooDeep(std::string_view body) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

// The body as a JSON object with exactly one of `fields`; its name in `which`.
std::optional<json> oneFieldObject(std::string_view body, std::initializer_list<const char*> fields,
                                   std::string& which, std::string& error) {
  if (firstInvalidUtf8(body) != std::string_view::npos) {
    error = "the request is not UTF-8 text";
    return std::nullopt;
  }
  if (nestsTooDeep(body)) {
    error = "the request nests too deep";
    return std::nullopt;
  }
  json parsed = json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (parsed.is_discarded() || !parsed.is_object()) {
    error = "the request must be a JSON object";
    return std::nullopt;
  }
  std::string names;
  int found = 0;
  for (const char* field : fields) {
    if (parsed.contains(field)) {
      which = field;
      ++found;
    }
    names += names.empty() ? "" : ", ";
    names += std::string("\"") + field + "\"";
  }
  if (found != 1 || parsed.size() != 1) {
    error = "the request must hold exactly one of " + names;
    return std::nullopt;
  }
  return parsed;
}

// A JSON array of `count` finite numbers within ±kMaxPicturePixels.
std::optional<std::vector<double>> pixels(const json& value, std::size_t count) {
  if (!value.is_array() || value.size() != count) return std::nullopt;
  std::vector<double> numbers;
  for (const json& item : value) {
    if (!item.is_number()) return std::nullopt;
    const double number = item.get<double>();
    if (!std::isfinite(number) || std::abs(number) > kMaxPicturePixels) return std::nullopt;
    numbers.push_back(number);
  }
  return numbers;
}

}  // namespace

bool isSessionId(std::string_view id) {
  if (id.size() < 8 || id.size() > 64) return false;
  for (char c : id) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

bool isTraceUpload(std::string_view contentType) {
  const std::string_view type = trimSpaces(contentType.substr(0, contentType.find(';')));
  constexpr std::string_view kCsv = "text/csv";
  if (type.size() != kCsv.size()) return false;
  for (std::size_t i = 0; i < kCsv.size(); ++i) {
    const char c = type[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kCsv[i]) return false;
  }
  return true;
}

std::optional<ActionRequest> readActionRequest(std::string_view body, std::string& error) {
  std::string which;
  std::optional<json> parsed = oneFieldObject(body, {"line", "tap", "drag"}, which, error);
  if (!parsed) return std::nullopt;
  const json& value = (*parsed)[which];
  ActionRequest request;
  if (which == "line") {
    if (!value.is_string()) {
      error = "\"line\" must be text: an action in the scenario language";
      return std::nullopt;
    }
    request.line = value.get<std::string>();
    if (request.line.size() > kMaxActionLineBytes) {
      error = "\"line\" is too long (at most " + std::to_string(kMaxActionLineBytes) + " bytes)";
      return std::nullopt;
    }
    return request;
  }
  const std::size_t count = which == "tap" ? 2 : 4;
  std::optional<std::vector<double>> numbers = pixels(value, count);
  if (!numbers) {
    error = "\"" + which + "\" must be " + (count == 2 ? "[x, y]" : "[x, y, dx, dy]") +
            ": numbers of picture pixels";
    return std::nullopt;
  }
  request.kind = which == "tap" ? ActionRequest::Kind::Tap : ActionRequest::Kind::Drag;
  request.x = (*numbers)[0];
  request.y = (*numbers)[1];
  if (count == 4) {
    request.dx = (*numbers)[2];
    request.dy = (*numbers)[3];
  }
  return request;
}

std::optional<ClockRequest> readClockRequest(std::string_view body, std::string& error) {
  std::string which;
  std::optional<json> parsed = oneFieldObject(body, {"play", "speed", "step"}, which, error);
  if (!parsed) return std::nullopt;
  const json& value = (*parsed)[which];
  ClockRequest request;
  if (which == "play") {
    if (!value.is_boolean()) {
      error = "\"play\" must be true or false";
      return std::nullopt;
    }
    request.kind = value.get<bool>() ? ClockRequest::Kind::Play : ClockRequest::Kind::Pause;
    return request;
  }
  const double number = value.is_number() ? value.get<double>() : std::nan("");
  if (which == "speed") {
    if (!LiveClock::isSpeed(number)) {
      error = "\"speed\" must be 1 or 4";
      return std::nullopt;
    }
    request.kind = ClockRequest::Kind::Speed;
  } else {
    if (!(number > 0 && number <= kMaxStepSeconds)) {
      error = "\"step\" must be a number of seconds above 0, at most " +
              formatShortest(kMaxStepSeconds);
      return std::nullopt;
    }
    request.kind = ClockRequest::Kind::Step;
  }
  request.value = number;
  return request;
}

}  // namespace sim
