#include "Foundation/EventValueConversion.h"

namespace Foundation {

EventValue toEventValue(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Null:
      return {};
    case Value::Kind::Boolean:
      return EventValue::boolean(value.boolValue());
    case Value::Kind::Integer:
      return EventValue::integer(value.longLongValue());
    case Value::Kind::Real:
      return EventValue::real(value.doubleValue());
    case Value::Kind::String:
      return EventValue::string(*value.stringValue());
    case Value::Kind::Data:
      return EventValue::data(*value.dataValue());
    case Value::Kind::Date:
      return EventValue::date({value.dateValue()->secondsSinceReferenceDate});
    case Value::Kind::Array: {
      EventValue::List list;
      list.reserve(value.arrayValue()->size());
      for (const Value& element : *value.arrayValue()) list.push_back(toEventValue(element));
      return EventValue::list(std::move(list));
    }
    case Value::Kind::Dictionary:
      return EventValue::record(toEventFields(*value.dictionaryValue()));
    case Value::Kind::Point: {
      const CGPoint point = *value.pointValue();
      return EventValue::point({point.x, point.y});
    }
    case Value::Kind::Color: {
      const CGColor colour = *value.colorValue();
      return EventValue::colour({colour.red(), colour.green(), colour.blue(), colour.alpha()});
    }
  }
  return {};
}

EventFields toEventFields(const Dictionary& dictionary) {
  EventFields fields;
  for (const auto& [key, element] : dictionary) fields.set(key, toEventValue(element));
  return fields;
}

Value fromEventValue(const EventValue& value) {
  switch (value.kind()) {
    case EventValue::Kind::Null:
      return {};
    case EventValue::Kind::Boolean:
      return Value::boolean(value.boolValue());
    case EventValue::Kind::Integer:
      return Value::integer(value.integerValue());
    case EventValue::Kind::Real:
      return Value::real(value.doubleValue());
    case EventValue::Kind::String:
      return Value::string(*value.stringValue());
    case EventValue::Kind::Data:
      return Value::data(*value.dataValue());
    case EventValue::Kind::Date:
      return Value::date({value.dateValue()->secondsSince2001});
    case EventValue::Kind::List: {
      Array array;
      array.reserve(value.listValue()->size());
      for (const EventValue& element : *value.listValue()) array.push_back(fromEventValue(element));
      return Value::array(std::move(array));
    }
    case EventValue::Kind::Record:
      return Value::dictionary(fromEventFields(*value.recordValue()));
    case EventValue::Kind::Point: {
      const EventValue::Point point = *value.pointValue();
      return Value::point(CGPointMake(point.x, point.y));
    }
    case EventValue::Kind::Colour: {
      const EventValue::Colour colour = *value.colourValue();
      return Value::color(CGColor(colour.red, colour.green, colour.blue, colour.alpha));
    }
  }
  return {};
}

Dictionary fromEventFields(const EventFields& fields) {
  Dictionary dictionary;
  for (const auto& [name, element] : fields) dictionary.set(name, fromEventValue(element));
  return dictionary;
}

}  // namespace Foundation
