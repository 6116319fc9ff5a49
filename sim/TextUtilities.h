// Small text helpers shared by the simulator's readers and printers. Numbers are read and
// written independently of the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// A finite decimal number filling all of `text` (an optional leading '+' is accepted).
std::optional<double> parseReal(std::string_view text);
// A whole decimal number filling all of `text` (an optional leading '+' is accepted).
std::optional<std::int64_t> parseInteger(std::string_view text);

// The shortest text that reads back as the same double ("1", "0.30000001192092896").
std::string formatShortest(double value);
// Seconds as a person writes them in a scenario: the shortest form.
inline std::string formatSeconds(double seconds) {
  return formatShortest(seconds);
}
// Exactly `decimals` digits after the point ("0.300").
std::string formatFixed(double value, int decimals);

std::vector<std::string_view> splitString(std::string_view text, char separator);
std::string_view trimSpaces(std::string_view text);  // spaces and tabs at both ends

// Columns a UTF-8 text takes on a terminal: one per code point (the simulator's texts hold
// no wide characters).
std::size_t displayColumns(std::string_view text);

// Offset of the first byte that is not part of well-formed UTF-8, or npos.
std::size_t firstInvalidUtf8(std::string_view text);

// Reads the whole file; false with a description ("cannot read: No such file or directory",
// "too large ...") in `error`.
bool readWholeFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                   std::string& error);

}  // namespace sim
