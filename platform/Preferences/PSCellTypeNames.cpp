#include "Preferences/PSCellTypeNames.h"

#include <array>
#include <utility>

namespace gw::preferences {

namespace {

constexpr std::array<std::pair<std::string_view, PSCellType>, 15> kCellNames{{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell},
    {"PSGiantIconCell", PSGiantIconCell},
    {"PSGiantCell", PSGiantCell},
    {"PSSecureEditTextCell", PSSecureEditTextCell},
    {"PSButtonCell", PSButtonCell},
    {"PSEditTextViewCell", PSEditTextViewCell},
}};

}  // namespace

std::optional<PSCellType> cellTypeNamed(std::string_view name) {
  for (const auto& [cellName, type] : kCellNames) {
    if (cellName == name) return type;
  }
  return std::nullopt;
}

std::string_view nameOfCellType(std::int64_t type) {
  for (const auto& [name, known] : kCellNames) {
    if (known == type) return name;
  }
  return {};
}

}  // namespace gw::preferences
