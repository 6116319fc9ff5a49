#include "Preferences/PSCellTypeNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

using gw::preferences::cellTypeNamed;
using gw::preferences::nameOfCellType;

// Both directions of the table: the device reads a framework row's type back into its "cell"
// property through nameOfCellType, the specifiers' plists go the other way.
TEST(PSCellTypeNames, NamesAndTypesMapBothWays) {
  const struct {
    std::string_view name;
    std::optional<PSCellType> type;
  } cases[] = {
      {"PSGroupCell", PSGroupCell},
      {"PSSwitchCell", PSSwitchCell},
      {"PSButtonCell", PSButtonCell},
      {"PSEditTextViewCell", PSEditTextViewCell},
      {"", std::nullopt},
      {"PSswitchCell", std::nullopt},
      {"PSSwitchCell ", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cellTypeNamed(c.name), c.type) << c.name;
    if (c.type) {
      EXPECT_EQ(nameOfCellType(*c.type), c.name);
    }
  }
}

TEST(PSCellTypeNames, AValueNamingNoCellTypeHasNoName) {
  for (const std::int64_t type : {std::int64_t{-1}, std::int64_t{15}, std::int64_t{1} << 40}) {
    EXPECT_EQ(nameOfCellType(type), "") << type;
  }
}

}  // namespace
