#include "PropertyListBridge.h"

#include <string>
#include <utility>
#include <vector>

#include "native/Preferences/PropertyListObjects.h"

namespace gw::device {

namespace plist = gw::native::plist;

gw::native::Object nativePropertyList(const Foundation::Value& value) {
  switch (value.kind()) {
    case Foundation::Value::Kind::Boolean:
      return plist::makeBoolean(value.boolValue());
    case Foundation::Value::Kind::Integer:
      return plist::makeInteger(value.longLongValue());
    case Foundation::Value::Kind::Real:
      return plist::makeReal(value.doubleValue());
    case Foundation::Value::Kind::String:
      return plist::makeString(*value.stringValue());
    case Foundation::Value::Kind::Data:
      return plist::makeData(*value.dataValue());
    case Foundation::Value::Kind::Date:
      return plist::makeDate(value.dateValue()->secondsSinceReferenceDate);
    case Foundation::Value::Kind::Array: {
      std::vector<gw::native::Object> elements;
      for (const Foundation::Value& element : *value.arrayValue()) {
        elements.push_back(nativePropertyList(element));
      }
      return plist::makeArray(elements);
    }
    case Foundation::Value::Kind::Dictionary: {
      std::vector<std::pair<std::string, gw::native::Object>> entries;
      for (const auto& [key, element] : *value.dictionaryValue()) {
        entries.emplace_back(key, nativePropertyList(element));
      }
      return plist::makeDictionary(entries);
    }
    case Foundation::Value::Kind::Null:
    case Foundation::Value::Kind::Point:
    case Foundation::Value::Kind::Color:
      break;
  }
  return {};
}

Foundation::Value valueOfPropertyList(const gw::native::Object& object) {
  switch (plist::kindOf(object)) {
    case plist::Kind::Boolean:
      return Foundation::Value::boolean(plist::booleanOf(object));
    case plist::Kind::Integer:
      return Foundation::Value::integer(plist::integerOf(object));
    case plist::Kind::Real:
      return Foundation::Value::real(plist::realOf(object));
    case plist::Kind::String:
      return Foundation::Value::string(plist::stringOf(object));
    case plist::Kind::Data:
      return Foundation::Value::data(plist::dataOf(object));
    case plist::Kind::Date:
      return Foundation::Value::date(Foundation::Date{plist::dateOf(object)});
    case plist::Kind::Array: {
      Foundation::Array elements;
      for (const gw::native::Object& element : plist::elementsOf(object)) {
        Foundation::Value value = valueOfPropertyList(element);
        if (!value.isNull()) elements.push_back(std::move(value));
      }
      return Foundation::Value::array(std::move(elements));
    }
    case plist::Kind::Dictionary: {
      Foundation::Dictionary entries;
      for (const auto& [key, element] : plist::entriesOf(object)) {
        Foundation::Value value = valueOfPropertyList(element);
        if (!value.isNull()) entries.set(key, std::move(value));
      }
      return Foundation::Value::dictionary(std::move(entries));
    }
    case plist::Kind::Null:
    case plist::Kind::Other:
      break;
  }
  return {};
}

}  // namespace gw::device
