#include "Device/EventFields.h"

#include <algorithm>

const EventValue* EventFields::find(std::string_view name) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [name](const Entry& entry) { return entry.first == name; });
  return found == entries_.end() ? nullptr : &found->second;
}

EventValue EventFields::value(std::string_view name) const {
  const EventValue* found = find(name);
  return found ? *found : EventValue();
}

void EventFields::set(std::string name, EventValue value) {
  for (Entry& entry : entries_) {
    if (entry.first == name) {
      entry.second = std::move(value);
      return;
    }
  }
  entries_.emplace_back(std::move(name), std::move(value));
}
