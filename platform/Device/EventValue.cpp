#include "Device/EventValue.h"

#include <cmath>
#include <limits>

#include "Device/EventFields.h"

EventValue EventValue::boolean(bool v) {
  return EventValue(Storage(std::in_place_index<1>, v));
}
EventValue EventValue::integer(std::int64_t v) {
  return EventValue(Storage(std::in_place_index<2>, v));
}
EventValue EventValue::real(double v) {
  return EventValue(Storage(std::in_place_index<3>, v));
}
EventValue EventValue::string(std::string v) {
  return EventValue(Storage(std::in_place_index<4>, std::move(v)));
}
EventValue EventValue::data(Data v) {
  return EventValue(Storage(std::make_shared<const Data>(std::move(v))));
}
EventValue EventValue::date(Date v) {
  return EventValue(Storage(v));
}
EventValue EventValue::list(List v) {
  return EventValue(Storage(std::make_shared<const List>(std::move(v))));
}
EventValue EventValue::record(EventFields v) {
  return EventValue(Storage(std::make_shared<const EventFields>(std::move(v))));
}
EventValue EventValue::point(Point v) {
  return EventValue(Storage(v));
}
EventValue EventValue::colour(Colour v) {
  return EventValue(Storage(v));
}

bool EventValue::boolValue() const {
  switch (kind()) {
    case Kind::Boolean:
      return std::get<bool>(storage_);
    case Kind::Integer:
      return std::get<std::int64_t>(storage_) != 0;
    case Kind::Real:
      return std::get<double>(storage_) != 0;
    default:
      return false;
  }
}

std::int64_t EventValue::integerValue() const {
  switch (kind()) {
    case Kind::Boolean:
      return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer:
      return std::get<std::int64_t>(storage_);
    case Kind::Real: {
      // Truncated toward zero; out of range (or NaN) saturates rather than being undefined.
      const double v = std::get<double>(storage_);
      if (std::isnan(v)) return 0;
      if (v >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
      if (v <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
      return static_cast<std::int64_t>(v);
    }
    default:
      return 0;
  }
}

double EventValue::doubleValue() const {
  switch (kind()) {
    case Kind::Boolean:
      return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer:
      return static_cast<double>(std::get<std::int64_t>(storage_));
    case Kind::Real:
      return std::get<double>(storage_);
    default:
      return 0;
  }
}

const std::string* EventValue::stringValue() const {
  return std::get_if<std::string>(&storage_);
}

const EventValue::Data* EventValue::dataValue() const {
  const auto* data = std::get_if<std::shared_ptr<const Data>>(&storage_);
  return data ? data->get() : nullptr;
}

std::optional<EventValue::Date> EventValue::dateValue() const {
  const Date* date = std::get_if<Date>(&storage_);
  return date ? std::optional<Date>(*date) : std::nullopt;
}

const EventValue::List* EventValue::listValue() const {
  const auto* list = std::get_if<std::shared_ptr<const List>>(&storage_);
  return list ? list->get() : nullptr;
}

const EventFields* EventValue::recordValue() const {
  const auto* record = std::get_if<std::shared_ptr<const EventFields>>(&storage_);
  return record ? record->get() : nullptr;
}

std::optional<EventValue::Point> EventValue::pointValue() const {
  const Point* point = std::get_if<Point>(&storage_);
  return point ? std::optional<Point>(*point) : std::nullopt;
}

std::optional<EventValue::Colour> EventValue::colourValue() const {
  const Colour* colour = std::get_if<Colour>(&storage_);
  return colour ? std::optional<Colour>(*colour) : std::nullopt;
}

bool operator==(const EventValue& a, const EventValue& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case EventValue::Kind::Data:
      return *a.dataValue() == *b.dataValue();
    case EventValue::Kind::List:
      return *a.listValue() == *b.listValue();
    case EventValue::Kind::Record:
      return *a.recordValue() == *b.recordValue();
    default:
      return a.storage_ == b.storage_;
  }
}
