// NSURL, made from and read back as UTF-8 text.
#pragma once

#include <optional>
#include <string>

namespace gw::native::foundation {

// URLWithString:'s absoluteString; nullopt when it gives nil.
std::optional<std::string> urlWithString(const std::string& text);
// fileURLWithPath:'s absoluteString; nullopt for an empty path.
std::optional<std::string> fileURLWithPath(const std::string& path);
// The scheme and the path of the URL written `text` (as URLWithString: reads it); empty when it
// has none.
std::string urlScheme(const std::string& text);
std::string urlPath(const std::string& text);

}  // namespace gw::native::foundation
