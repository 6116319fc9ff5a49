// UIControl for the device face: control events delivered to a face callback, and the
// enabled / selected / highlighted state.
#pragma once

#include <cstdint>
#include <functional>

#include "native/NativeObject.h"

namespace gw::native::control {

// addTarget:action:forControlEvents: with a target the control keeps (as an associated
// object): `handler` gets the UIControlEvents that fired, for each of `events`. One call per
// control; a later call replaces the handler and the events.
void setEventHandler(const Object& control, std::uint64_t events,
                     std::function<void(std::uint64_t event)> handler);

bool isEnabled(const Object& control);
void setEnabled(const Object& control, bool enabled);
bool isSelected(const Object& control);
void setSelected(const Object& control, bool selected);
bool isHighlighted(const Object& control);
void setHighlighted(const Object& control, bool highlighted);

}  // namespace gw::native::control
