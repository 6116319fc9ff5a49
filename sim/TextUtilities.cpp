#include "sim/TextUtilities.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace sim {
namespace {

std::string_view withoutPlus(std::string_view text) {
  // from_chars refuses a '+'; people write "+1.5" now and then. "+-1" stays refused.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
    text.remove_prefix(1);
  }
  return text;
}

}  // namespace

std::optional<double> parseReal(std::string_view text) {
  text = withoutPlus(text);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
  text = withoutPlus(text);
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string formatShortest(double value) {
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (ec != std::errc()) return "0";
  return std::string(buffer.data(), end);
}

std::string formatFixed(double value, int decimals) {
  std::array<char, 400> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string text(buffer.data(), end);
  // "-0.000" reads oddly in a time column; a negative zero is zero.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::vector<std::string_view> splitString(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::string_view trimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::size_t displayColumns(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
  }
  return width;
}

std::size_t firstInvalidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    unsigned char c = bytes[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      codePoint = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      codePoint = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      codePoint = c & 0x07;
    } else {
      return i;
    }
    if (i + length > n) return i;
    for (std::size_t k = 1; k < length; ++k) {
      unsigned char cc = bytes[i + k];
      if ((cc & 0xC0) != 0x80) return i;
      codePoint = (codePoint << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000) ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
      return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

bool readWholeFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                   std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = "cannot read: it is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::string("cannot read: ") + std::strerror(errno);
    return false;
  }
  contents.clear();
  std::array<char, 65536> buffer{};
  while (in) {
    in.read(buffer.data(), buffer.size());
    contents.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (contents.size() > maxBytes) {
      error = "too large (more than " + std::to_string(maxBytes) + " bytes)";
      return false;
    }
  }
  if (in.bad()) {
    error = "cannot read: input/output error";
    return false;
  }
  return true;
}

}  // namespace sim
