#include "sim/TraceReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>

#include "sim/Scenario.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

constexpr std::size_t kMaxEchoedFieldBytes = 40;

// A field as the reader sees it: without surrounding spaces and double quotes.
std::string_view cleanField(std::string_view field) {
  field = trimSpaces(field);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
    field = trimSpaces(field.substr(1, field.size() - 2));
  }
  return field;
}

// A field quoted for a message, cut short so a line of garbage does not flood the terminal.
std::string echo(std::string_view field) {
  if (field.size() > kMaxEchoedFieldBytes) {
    return "'" + std::string(field.substr(0, kMaxEchoedFieldBytes)) + "...'";
  }
  return "'" + std::string(field) + "'";
}

void splitFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t start = 0;
  while (true) {
    std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

}  // namespace

TraceReader::TraceReader(std::istream& input, std::string fileName)
    : input_(input), fileName_(std::move(fileName)), buffer_(kMaxLineBytes + 1) {}

TraceReader::TraceReader(const std::string& path)
    : ownedInput_(std::make_unique<std::ifstream>()),
      input_(*ownedInput_),
      fileName_(path),
      buffer_(kMaxLineBytes + 1) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    openError_ = "cannot read: it is a folder";
    return;
  }
  ownedInput_->open(path, std::ios::binary);
  if (!*ownedInput_) openError_ = std::string("cannot read: ") + std::strerror(errno);
}

TraceReader::Status TraceReader::fail(const std::string& message) {
  error_ = message;
  finalStatus_ = Status::Error;
  return Status::Error;
}

TraceReader::Status TraceReader::failAtLine(const std::string& message) {
  return fail(fileName_ + ":" + std::to_string(line_) + ": " + message);
}

// False at the end of the input or on an error (finalStatus_ tells which).
bool TraceReader::readLine(std::string_view& line) {
  input_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  std::size_t count = static_cast<std::size_t>(input_.gcount());
  if (input_.fail()) {
    if (input_.eof() && count == 0) {
      finalStatus_ = Status::End;
      return false;
    }
    if (!input_.eof()) {
      ++line_;
      failAtLine("line longer than " + std::to_string(kMaxLineBytes) + " bytes");
      return false;
    }
  }
  if (input_.bad()) {
    fail(fileName_ + ": cannot read: input/output error");
    return false;
  }
  ++line_;
  // gcount counts the newline that getline consumed but did not store.
  if (count > 0 && !input_.eof()) --count;
  line = std::string_view(buffer_.data(), count);
  if (line.ends_with('\r')) line.remove_suffix(1);
  if (line_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  return true;
}

bool TraceReader::readHeader() {
  headerRead_ = true;
  std::string_view line;
  do {
    if (!readLine(line)) {
      if (finalStatus_ == Status::End) {
        line_ = std::max<std::uint64_t>(line_, 1);
        failAtLine("empty file: expected a header naming the columns t, roll and pitch");
      }
      return false;
    }
  } while (line.starts_with('#'));
  splitFields(line, fields_);
  columnCount_ = fields_.size();
  std::optional<std::size_t> columns[3];
  const std::string_view names[3] = {"t", "roll", "pitch"};
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    std::string_view name = cleanField(fields_[i]);
    for (int k = 0; k < 3; ++k) {
      if (name != names[k]) continue;
      if (columns[k]) {
        failAtLine("the header names the column '" + std::string(names[k]) + "' twice");
        return false;
      }
      columns[k] = i;
    }
  }
  for (int k = 0; k < 3; ++k) {
    if (!columns[k]) {
      failAtLine("the header lacks the column '" + std::string(names[k]) +
                 "' (it needs t, roll and pitch)");
      return false;
    }
  }
  timeColumn_ = *columns[0];
  rollColumn_ = *columns[1];
  pitchColumn_ = *columns[2];
  return true;
}

bool TraceReader::parseField(std::string_view text, std::string_view column, double& value) {
  std::string_view field = cleanField(text);
  auto parsed = parseReal(field);
  if (!parsed) {
    failAtLine("column '" + std::string(column) + "': " + echo(field) + " is not a number");
    return false;
  }
  value = *parsed;
  return true;
}

TraceReader::Status TraceReader::next(TraceSample& sample) {
  if (finalStatus_ != Status::Sample) return finalStatus_;
  if (!openError_.empty()) return fail(fileName_ + ": " + openError_);
  if (!headerRead_ && !readHeader()) return finalStatus_;
  std::string_view line;
  while (true) {
    if (!readLine(line)) {
      if (finalStatus_ == Status::End && samples_ == 0) {
        return failAtLine("no samples after the header");
      }
      return finalStatus_;
    }
    if (!trimSpaces(line).empty()) break;
  }
  splitFields(line, fields_);
  if (fields_.size() != columnCount_) {
    return failAtLine(std::to_string(fields_.size()) + " fields, but the header has " +
                      std::to_string(columnCount_));
  }
  TraceSample parsed;
  if (!parseField(fields_[timeColumn_], "t", parsed.time) ||
      !parseField(fields_[rollColumn_], "roll", parsed.roll) ||
      !parseField(fields_[pitchColumn_], "pitch", parsed.pitch)) {
    return Status::Error;
  }
  if (parsed.time < 0) {
    return failAtLine("time " + formatShortest(parsed.time) + " is negative");
  }
  if (parsed.time > kMaxDeviceTimeSeconds) {
    return failAtLine("time " + formatShortest(parsed.time) +
                      " is beyond the longest run: times up to " +
                      formatFixed(kMaxDeviceTimeSeconds, 0) + " s (about 11.6 days) expected");
  }
  if (samples_ > 0 && parsed.time <= previousTime_) {
    return failAtLine("time " + formatShortest(parsed.time) +
                      " is not after the previous sample's time " + formatShortest(previousTime_) +
                      " (times must increase)");
  }
  if (std::abs(parsed.roll) > kRollLimitRadians) {
    return failAtLine("roll " + formatShortest(parsed.roll) + " is out of range: radians from -" +
                      formatFixed(kRollLimitRadians, 4) + " to " +
                      formatFixed(kRollLimitRadians, 4) + " expected");
  }
  if (std::abs(parsed.pitch) > kPitchLimitRadians) {
    return failAtLine("pitch " + formatShortest(parsed.pitch) + " is out of range: radians from -" +
                      formatFixed(kPitchLimitRadians, 4) + " to " +
                      formatFixed(kPitchLimitRadians, 4) + " expected");
  }
  previousTime_ = parsed.time;
  ++samples_;
  sample = parsed;
  return Status::Sample;
}

}  // namespace sim
