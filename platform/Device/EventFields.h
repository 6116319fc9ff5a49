// The payload of a device event: named values in the order the emitter gives them (the
// order the timeline prints them in). Payloads are small; a name is looked up by a walk.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Device/EventValue.h"

class EventFields {
 public:
  using Entry = std::pair<std::string, EventValue>;

  EventFields() = default;
  EventFields(std::initializer_list<Entry> entries) : entries_(entries) {}

  const EventValue* find(std::string_view name) const;  // nullptr when absent
  EventValue value(std::string_view name) const;        // null when absent
  // Appends `value` under `name`; a name already there keeps its place and takes the value.
  void set(std::string name, EventValue value);

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

  friend bool operator==(const EventFields& a, const EventFields& b) {
    return a.entries_ == b.entries_;
  }

 private:
  std::vector<Entry> entries_;
};
