// NSURL, as far as the system's code needs it: web addresses made from text and file URLs
// made from device paths.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class NSURL {
 public:
  // URLWithString: — null when `text` is not a URL: empty, or holding white space, control
  // characters or other characters that a URL must percent-encode.
  static std::shared_ptr<NSURL> URLWithString(std::string_view text);
  // fileURLWithPath: — "file://" and the absolute device path, percent-encoded where needed;
  // a relative path is taken from "/". Null for an empty path.
  static std::shared_ptr<NSURL> fileURLWithPath(std::string_view path);

  const std::string& absoluteString() const { return text_; }
  // The scheme in lower case ("https", "file"), empty for a relative reference.
  std::string scheme() const;
  bool isFileURL() const { return scheme() == "file"; }
  // For a file URL, the device path with its percent escapes decoded; otherwise the URL's
  // path component as written.
  std::string path() const;

  explicit NSURL(std::string text) : text_(std::move(text)) {}

 private:
  std::string text_;
};
