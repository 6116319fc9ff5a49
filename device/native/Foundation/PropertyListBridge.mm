// Wraps Foundation's property-list classes: NSDictionary, NSArray, NSNumber (CFBoolean and
// CFNumber beneath), NSString, NSData, NSDate.
#include "native/Foundation/PropertyListBridge.h"

#import <Foundation/Foundation.h>

namespace gw::native::foundation {

namespace {

id objectFor(const PropertyListNode& node) {
  switch (node.kind) {
    case PropertyListNode::Kind::Boolean:
      return node.boolean ? @YES : @NO;
    case PropertyListNode::Kind::Integer:
      return [NSNumber numberWithLongLong:node.integer];
    case PropertyListNode::Kind::Real:
      return [NSNumber numberWithDouble:node.real];
    case PropertyListNode::Kind::String:
      return [[NSString alloc] initWithBytes:node.string.data()
                                      length:node.string.size()
                                    encoding:NSUTF8StringEncoding];
    case PropertyListNode::Kind::Data:
      return [NSData dataWithBytes:node.data.data() length:node.data.size()];
    case PropertyListNode::Kind::Date:
      return [NSDate dateWithTimeIntervalSinceReferenceDate:node.real];
    case PropertyListNode::Kind::Array: {
      NSMutableArray* array = [NSMutableArray arrayWithCapacity:node.elements.size()];
      for (const PropertyListNode& element : node.elements) {
        id object = objectFor(element);
        if (object == nil) return nil;
        [array addObject:object];
      }
      return array;
    }
    case PropertyListNode::Kind::Dictionary: {
      NSMutableDictionary* dictionary =
          [NSMutableDictionary dictionaryWithCapacity:node.elements.size()];
      for (std::size_t i = 0; i < node.elements.size() && i < node.keys.size(); ++i) {
        NSString* key = [[NSString alloc] initWithBytes:node.keys[i].data()
                                                 length:node.keys[i].size()
                                               encoding:NSUTF8StringEncoding];
        id object = objectFor(node.elements[i]);
        if (key == nil || object == nil) return nil;
        dictionary[key] = object;
      }
      return dictionary;
    }
  }
  return nil;
}

std::string utf8(NSString* string) {
  const char* text = string.UTF8String;
  return text ? std::string(text) : std::string();
}

std::optional<PropertyListNode> nodeFor(id object) {
  PropertyListNode node;
  if (object == nil) return std::nullopt;
  if ([object isKindOfClass:[NSString class]]) {
    node.kind = PropertyListNode::Kind::String;
    node.string = utf8(object);
  } else if ([object isKindOfClass:[NSNumber class]]) {
    CFTypeRef number = (__bridge CFTypeRef)object;
    if (CFGetTypeID(number) == CFBooleanGetTypeID()) {
      node.kind = PropertyListNode::Kind::Boolean;
      node.boolean = [object boolValue];
    } else if (CFNumberIsFloatType(static_cast<CFNumberRef>(number))) {
      node.kind = PropertyListNode::Kind::Real;
      node.real = [object doubleValue];
    } else {
      node.kind = PropertyListNode::Kind::Integer;
      node.integer = [object longLongValue];
    }
  } else if ([object isKindOfClass:[NSData class]]) {
    NSData* data = object;
    const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
    node.kind = PropertyListNode::Kind::Data;
    if (bytes != nullptr) node.data.assign(bytes, bytes + data.length);
  } else if ([object isKindOfClass:[NSDate class]]) {
    node.kind = PropertyListNode::Kind::Date;
    node.real = [object timeIntervalSinceReferenceDate];
  } else if ([object isKindOfClass:[NSArray class]]) {
    node.kind = PropertyListNode::Kind::Array;
    for (id element in (NSArray*)object) {
      std::optional<PropertyListNode> child = nodeFor(element);
      if (!child) return std::nullopt;
      node.elements.push_back(std::move(*child));
    }
  } else if ([object isKindOfClass:[NSDictionary class]]) {
    node.kind = PropertyListNode::Kind::Dictionary;
    NSDictionary* dictionary = object;
    // A dictionary keeps no order: keys in ascending order make every read of a file the same.
    NSArray* keys = [dictionary.allKeys sortedArrayUsingComparator:^NSComparisonResult(id a, id b) {
      if (![a isKindOfClass:[NSString class]] || ![b isKindOfClass:[NSString class]]) {
        return NSOrderedSame;
      }
      return [(NSString*)a compare:(NSString*)b options:NSLiteralSearch];
    }];
    for (id key in keys) {
      if (![key isKindOfClass:[NSString class]]) return std::nullopt;
      std::optional<PropertyListNode> child = nodeFor(dictionary[key]);
      if (!child) return std::nullopt;
      node.keys.push_back(utf8(key));
      node.elements.push_back(std::move(*child));
    }
  } else {
    return std::nullopt;
  }
  return node;
}

}  // namespace

Object objectFromNode(const PropertyListNode& node) {
  return Object::retaining((__bridge const void*)objectFor(node));
}

std::optional<PropertyListNode> nodeFromObject(const Object& object) {
  return nodeFor((__bridge id)object.get());
}

}  // namespace gw::native::foundation
