#include "Device/TemporaryFileName.h"

#include <charconv>

namespace temporary_file_name {

std::string make(std::string_view target, pid_t writer, std::string_view suffix) {
  return "." + std::string(target) + "." + std::to_string(writer) + "." + std::string(suffix);
}

std::optional<pid_t> writerOf(std::string_view entry, std::string_view target) {
  if (target.empty() || entry.size() < target.size() + 2 || entry[0] != '.' ||
      entry.substr(1, target.size()) != target || entry[target.size() + 1] != '.') {
    return std::nullopt;
  }
  const std::string_view rest = entry.substr(target.size() + 2);  // "<pid>.<suffix>"
  if (rest.size() < kSuffixLength + 2) return std::nullopt;
  const std::string_view suffix = rest.substr(rest.size() - kSuffixLength);
  const std::string_view digits = rest.substr(0, rest.size() - kSuffixLength - 1);
  if (rest[digits.size()] != '.') return std::nullopt;
  for (char c : suffix) {
    const bool letterOrDigit =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit) return std::nullopt;
  }
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  pid_t writer = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), writer);
  if (error != std::errc() || end != digits.data() + digits.size() || writer <= 0) {
    return std::nullopt;
  }
  return writer;
}

}  // namespace temporary_file_name
