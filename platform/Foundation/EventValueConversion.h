// Property-list values as the payload of device events, and back: each kind maps onto its
// namesake (a dictionary onto a record, an array onto a list), so that a value passed through
// an event comes out as it went in. For emitters that report the system's own data (a page of
// settings rows, a preferences dictionary) and for observers that show it again in
// Foundation's terms. Not part of the device face.
#pragma once

#include "Device/EventFields.h"
#include "Foundation/Value.h"

namespace Foundation {

EventValue toEventValue(const Value& value);
EventFields toEventFields(const Dictionary& dictionary);
Value fromEventValue(const EventValue& value);
Dictionary fromEventFields(const EventFields& fields);

}  // namespace Foundation
