#include "Foundation/NSURL.h"

#include <cctype>

namespace {

// Characters a URL may hold as they are (RFC 3986 unreserved, reserved, and "%").
bool isURLCharacter(unsigned char c) {
  if (std::isalnum(c)) return true;
  static constexpr std::string_view kAllowed = "-._~:/?#[]@!$&'()*+,;=%";
  return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

// Characters a path keeps unescaped in a file URL.
bool isPathCharacter(unsigned char c) {
  if (std::isalnum(c)) return true;
  static constexpr std::string_view kAllowed = "-._~/!$&'()*+,;=:@";
  return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = hexValue(text[i + 1]);
      const int low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    decoded.push_back(text[i]);
  }
  return decoded;
}

}  // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(std::string_view text) {
  if (text.empty()) return nullptr;
  for (unsigned char c : text) {
    if (!isURLCharacter(c)) return nullptr;
  }
  return std::make_shared<NSURL>(std::string(text));
}

std::shared_ptr<NSURL> NSURL::fileURLWithPath(std::string_view path) {
  if (path.empty()) return nullptr;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "file://";
  if (path.front() != '/') text.push_back('/');
  for (unsigned char c : path) {
    if (isPathCharacter(c)) {
      text.push_back(static_cast<char>(c));
    } else {
      text.push_back('%');
      text.push_back(kHex[c >> 4]);
      text.push_back(kHex[c & 0xF]);
    }
  }
  return std::make_shared<NSURL>(std::move(text));
}

std::string NSURL::scheme() const {
  const std::size_t colon = text_.find(':');
  if (colon == std::string::npos || colon == 0) return {};
  std::string scheme;
  for (std::size_t i = 0; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text_[i]);
    const bool allowed =
        std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.'));
    if (!allowed) return {};
    scheme.push_back(static_cast<char>(std::tolower(c)));
  }
  return scheme;
}

std::string NSURL::path() const {
  std::string_view rest(text_);
  const std::string schemeText = scheme();
  if (!schemeText.empty()) rest.remove_prefix(schemeText.size() + 1);
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
  }
  const std::size_t end = rest.find_first_of("?#");
  if (end != std::string_view::npos) rest = rest.substr(0, end);
  return isFileURL() ? percentDecoded(rest) : std::string(rest);
}
