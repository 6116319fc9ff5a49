#include "VXCommon/VXLogger.h"

#include <array>

#include "Runtime/ProcessStatic.h"

namespace {

constexpr std::string_view kTag = "<VX>";

// The redirect belongs to the process it was set in: a restarted process discards again.
gw::ProcessStatic<VXLogger::Sink> sinkRedirect;

std::string tagged(std::string_view text) {
  std::string line(kTag);
  line += ' ';
  line += text;
  return line;
}

std::string describeEntry(const Foundation::Dictionary& record, std::string_view key) {
  return record.valueForKey(key).description();  // a missing entry reads "(null)"
}

}  // namespace

void VXLogger::logWithFormatArgs(const Foundation::Dictionary& record) {
  // "%@:%@ %@ %@" with file, line, function and message, composed by concatenation so that
  // nothing in the parts is read as a format.
  std::string line = describeEntry(record, "file");
  line += ':';
  line += describeEntry(record, "line");
  line += ' ';
  line += describeEntry(record, "function");
  line += ' ';
  line += describeEntry(record, "fmt");
  print(line);
}

void VXLogger::print(std::optional<std::string_view> text) {
  if (text) {
    log(tagged(*text));
  } else {
    log(std::string(kTag) + " received empty body");
  }
}

void VXLogger::printArray(const Foundation::Array& array, std::optional<std::string_view> name) {
  if (name) log(tagged("printing " + std::string(*name)));
  log(tagged("\t["));
  // Nested arrays and dictionaries are not expanded: each is one line with its description.
  for (const Foundation::Value& element : array) log(tagged("\t" + element.description()));
  log(tagged("\t]"));
}

void VXLogger::printDict(const Foundation::Dictionary& dict, std::optional<std::string_view> name) {
  if (name) log(tagged("printing " + std::string(*name)));
  log(tagged("{"));
  for (const auto& [key, value] : dict) {
    if (const Foundation::Array* array = value.arrayValue()) {
      log(tagged("key: " + key));
      printArray(*array, std::nullopt);
    } else if (const Foundation::Dictionary* nested = value.dictionaryValue()) {
      // The key appears only in the nested dictionary's "printing" line.
      printDict(*nested, key);
    } else {
      log(tagged("key: " + key));
      log(tagged("value: " + value.description()));
    }
  }
  log(tagged("}"));
}

void VXLogger::log(std::string_view line) {
  const Sink& sink = sinkRedirect.get();
  if (sink) sink(line);
}

void VXLogger::setSinkForTesting(Sink sink) {
  sinkRedirect.get() = std::move(sink);
}

Foundation::Dictionary VXLogger::makeRecord(std::string_view sourcePath, int line,
                                            std::string_view function, std::string message) {
  std::string_view file = sourcePath;
  while (file.size() > 1 && file.back() == '/') file.remove_suffix(1);
  if (const std::size_t slash = file.rfind('/');
      slash != std::string_view::npos && file.size() > 1) {
    file.remove_prefix(slash + 1);
  }
  Foundation::Dictionary record;
  record.set("file", Foundation::Value::string(std::string(file)));
  record.set("line", Foundation::Value::integer(line));
  record.set("function", Foundation::Value::string(std::string(function)));
  record.set("fmt", Foundation::Value::string(std::move(message)));
  return record;
}

std::string VXFormatMessage(std::string_view format, std::initializer_list<std::string> args) {
  // Longest first, so that "%lld" is not taken for "%l" followed by "ld".
  static constexpr std::array<std::string_view, 10> kConversions = {"lld", "llu", "ld", "lu", "d",
                                                                    "i",   "u",   "s",  "@",  "f"};
  std::string out;
  out.reserve(format.size());
  auto nextArg = args.begin();
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    const std::string_view rest = format.substr(i + 1);
    if (rest.starts_with('%')) {
      out += '%';
      i += 2;
      continue;
    }
    std::string_view matched;
    for (std::string_view conversion : kConversions) {
      if (rest.starts_with(conversion)) {
        matched = conversion;
        break;
      }
    }
    if (matched.empty() || nextArg == args.end()) {
      // Not a conversion this logger knows, or no argument left: kept as written.
      const std::size_t length = 1 + matched.size();
      out.append(format.substr(i, length));
      i += length;
      continue;
    }
    out += *nextArg++;
    i += 1 + matched.size();
  }
  return out;
}

namespace vx_logger_detail {

// Reals are written in their shortest form that reads back as the same number ("0.3", "2",
// "1e+20"), as a number object describes itself, whatever conversion the format names.
std::string toText(double d) {
  return Foundation::Value::real(d).description();
}

}  // namespace vx_logger_detail
