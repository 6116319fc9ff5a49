#include "sim/pictures/RenderFolder.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace sim {
namespace {

constexpr std::string_view kFramePrefix = "frame-";
constexpr std::string_view kFrameSuffix = ".png";
constexpr std::string_view kStoryboardName = "storyboard.png";
constexpr std::size_t kMinimumWholeDigits = 4;
constexpr std::size_t kFractionDigits = 3;

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

bool isRenderedFileName(std::string_view name) {
  if (name == kStoryboardName) return true;
  if (!name.starts_with(kFramePrefix) || !name.ends_with(kFrameSuffix)) return false;
  name.remove_prefix(kFramePrefix.size());
  name.remove_suffix(kFrameSuffix.size());
  const std::size_t point = name.find('.');
  if (point == std::string_view::npos) return false;
  const std::string_view whole = name.substr(0, point);
  const std::string_view fraction = name.substr(point + 1);
  return whole.size() >= kMinimumWholeDigits && allDigits(whole) &&
         fraction.size() == kFractionDigits && allDigits(fraction);
}

RenderFolder::Check RenderFolder::check(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::filesystem::directory_entry& entry = *it;
    const std::string name = entry.path().filename().string();
    // A link is foreign even when it points at a picture: removing it would not be ours to do.
    const bool ownFile =
        !entry.is_symlink(error) && entry.is_regular_file(error) && isRenderedFileName(name);
    if (!ownFile) {
      return {false, "'" + folder.string() + "' holds '" + name +
                         "', which is not a picture of an earlier run; choose an empty or new "
                         "folder"};
    }
  }
  if (error) return {false, "cannot read '" + folder.string() + "': " + error.message()};
  return {true, ""};
}

bool RenderFolder::clear(const std::filesystem::path& folder, std::string& error) {
  const Check checked = check(folder);
  if (!checked.usable) {
    error = checked.problem;
    return false;
  }
  std::error_code code;
  std::vector<std::filesystem::path> earlier;
  std::filesystem::directory_iterator it(folder, code);
  for (; !code && it != std::filesystem::directory_iterator(); it.increment(code)) {
    earlier.push_back(it->path());
  }
  if (code) {
    error = "cannot read '" + folder.string() + "': " + code.message();
    return false;
  }
  for (const auto& path : earlier) {
    if (!std::filesystem::remove(path, code) && code) {
      error = "cannot remove '" + path.string() + "': " + code.message();
      return false;
    }
  }
  return true;
}

}  // namespace sim
