// The names a specifier's "cell" property gives its cell types, as the Preferences framework reads
// them; the same on the simulated device and on the real one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "Preferences/PSSpecifier.h"

namespace gw::preferences {

// The cell type called `name` ("PSSwitchCell"...), or nullopt for a name the framework does not
// know.
std::optional<PSCellType> cellTypeNamed(std::string_view name);

// The name of cell type `type`, or empty for a value that names no cell type.
std::string_view nameOfCellType(std::int64_t type);

}  // namespace gw::preferences
