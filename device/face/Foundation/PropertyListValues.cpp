#include "face/Foundation/PropertyListValues.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace gw::device {

using gw::native::foundation::PropertyListNode;

namespace {

PropertyListNode realDictionary(std::initializer_list<std::pair<const char*, double>> entries) {
  PropertyListNode node;
  node.kind = PropertyListNode::Kind::Dictionary;
  for (const auto& [key, real] : entries) {
    PropertyListNode element;
    element.kind = PropertyListNode::Kind::Real;
    element.real = real;
    node.keys.emplace_back(key);
    node.elements.push_back(std::move(element));
  }
  return node;
}

}  // namespace

std::optional<PropertyListNode> nodeFromValue(const Foundation::Value& value) {
  PropertyListNode node;
  switch (value.kind()) {
    case Foundation::Value::Kind::Null:
      return std::nullopt;
    case Foundation::Value::Kind::Boolean:
      node.kind = PropertyListNode::Kind::Boolean;
      node.boolean = value.boolValue();
      break;
    case Foundation::Value::Kind::Integer:
      node.kind = PropertyListNode::Kind::Integer;
      node.integer = value.longLongValue();
      break;
    case Foundation::Value::Kind::Real:
      node.kind = PropertyListNode::Kind::Real;
      node.real = value.doubleValue();
      break;
    case Foundation::Value::Kind::String:
      node.kind = PropertyListNode::Kind::String;
      node.string = *value.stringValue();
      break;
    case Foundation::Value::Kind::Data:
      node.kind = PropertyListNode::Kind::Data;
      node.data = *value.dataValue();
      break;
    case Foundation::Value::Kind::Date:
      node.kind = PropertyListNode::Kind::Date;
      node.real = value.dateValue()->secondsSinceReferenceDate;
      break;
    case Foundation::Value::Kind::Array:
      node.kind = PropertyListNode::Kind::Array;
      for (const Foundation::Value& element : *value.arrayValue()) {
        if (auto child = nodeFromValue(element)) node.elements.push_back(std::move(*child));
      }
      break;
    case Foundation::Value::Kind::Dictionary:
      node.kind = PropertyListNode::Kind::Dictionary;
      for (const auto& [key, element] : *value.dictionaryValue()) {
        if (auto child = nodeFromValue(element)) {
          node.keys.push_back(key);
          node.elements.push_back(std::move(*child));
        }
      }
      break;
    case Foundation::Value::Kind::Point: {
      const CGPoint point = *value.pointValue();
      return realDictionary({{"x", point.x}, {"y", point.y}});
    }
    case Foundation::Value::Kind::Color: {
      const CGColor color = *value.colorValue();
      return realDictionary({{"red", color.red()},
                             {"green", color.green()},
                             {"blue", color.blue()},
                             {"alpha", color.alpha()}});
    }
  }
  return node;
}

Foundation::Value valueFromNode(const PropertyListNode& node) {
  switch (node.kind) {
    case PropertyListNode::Kind::Boolean:
      return Foundation::Value::boolean(node.boolean);
    case PropertyListNode::Kind::Integer:
      return Foundation::Value::integer(node.integer);
    case PropertyListNode::Kind::Real:
      return Foundation::Value::real(node.real);
    case PropertyListNode::Kind::String:
      return Foundation::Value::string(node.string);
    case PropertyListNode::Kind::Data:
      return Foundation::Value::data(node.data);
    case PropertyListNode::Kind::Date:
      return Foundation::Value::date(Foundation::Date{node.real});
    case PropertyListNode::Kind::Array: {
      Foundation::Array array;
      array.reserve(node.elements.size());
      for (const PropertyListNode& element : node.elements) array.push_back(valueFromNode(element));
      return Foundation::Value::array(std::move(array));
    }
    case PropertyListNode::Kind::Dictionary:
      return Foundation::Value::dictionary(dictionaryFromNode(node));
  }
  return {};
}

Foundation::Dictionary dictionaryFromNode(const PropertyListNode& node) {
  Foundation::Dictionary dictionary;
  if (node.kind != PropertyListNode::Kind::Dictionary) return dictionary;
  for (std::size_t i = 0; i < node.elements.size() && i < node.keys.size(); ++i) {
    dictionary.set(node.keys[i], valueFromNode(node.elements[i]));
  }
  return dictionary;
}

}  // namespace gw::device
