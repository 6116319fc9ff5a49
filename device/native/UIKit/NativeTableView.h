// UITableView for the device face.
#pragma once

#include "native/NativeObject.h"

namespace gw::native::tableview {

// setTableHeaderView: with a native view (empty for none).
void setTableHeaderView(const Object& table, const Object& header);

}  // namespace gw::native::tableview
