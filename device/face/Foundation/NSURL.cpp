#include "Foundation/NSURL.h"

#include "native/Foundation/NativeURL.h"

namespace native = gw::native::foundation;

std::shared_ptr<NSURL> NSURL::URLWithString(std::string_view text) {
  std::optional<std::string> url = native::urlWithString(std::string(text));
  if (!url) return nullptr;
  return std::make_shared<NSURL>(std::move(*url));
}

std::shared_ptr<NSURL> NSURL::fileURLWithPath(std::string_view path) {
  std::optional<std::string> url = native::fileURLWithPath(std::string(path));
  if (!url) return nullptr;
  return std::make_shared<NSURL>(std::move(*url));
}

std::string NSURL::scheme() const {
  return native::urlScheme(text_);
}

std::string NSURL::path() const {
  return native::urlPath(text_);
}
