// Wraps Foundation's property-list classes: NSNumber (CFBoolean for booleans), NSString,
// NSData, NSDate, NSArray and NSDictionary.
#include "PropertyListObjects.h"

#import <Foundation/Foundation.h>

namespace gw::native::plist {

namespace {

id objectOf(const Object& object) {
  return (__bridge id)object.get();
}

Object wrap(id object) {
  return Object::retaining((__bridge const void*)object);
}

bool isBoolean(id object) {
  return CFGetTypeID((__bridge CFTypeRef)object) == CFBooleanGetTypeID();
}

}  // namespace

Kind kindOf(const Object& object) {
  id value = objectOf(object);
  if (!value || value == [NSNull null]) return Kind::Null;
  if ([value isKindOfClass:[NSNumber class]]) {
    if (isBoolean(value)) return Kind::Boolean;
    return CFNumberIsFloatType((__bridge CFNumberRef)value) ? Kind::Real : Kind::Integer;
  }
  if ([value isKindOfClass:[NSString class]]) return Kind::String;
  if ([value isKindOfClass:[NSData class]]) return Kind::Data;
  if ([value isKindOfClass:[NSDate class]]) return Kind::Date;
  if ([value isKindOfClass:[NSArray class]]) return Kind::Array;
  if ([value isKindOfClass:[NSDictionary class]]) return Kind::Dictionary;
  return Kind::Other;
}

bool booleanOf(const Object& object) {
  id value = objectOf(object);
  return [value isKindOfClass:[NSNumber class]] && [(NSNumber*)value boolValue];
}

std::int64_t integerOf(const Object& object) {
  id value = objectOf(object);
  return [value isKindOfClass:[NSNumber class]] ? [(NSNumber*)value longLongValue] : 0;
}

double realOf(const Object& object) {
  id value = objectOf(object);
  return [value isKindOfClass:[NSNumber class]] ? [(NSNumber*)value doubleValue] : 0;
}

std::string stringOf(const Object& object) {
  id value = objectOf(object);
  if (![value isKindOfClass:[NSString class]]) return {};
  const char* text = [(NSString*)value UTF8String];
  return text ? std::string(text) : std::string();
}

std::vector<std::uint8_t> dataOf(const Object& object) {
  id value = objectOf(object);
  if (![value isKindOfClass:[NSData class]]) return {};
  NSData* data = value;
  const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
  return bytes ? std::vector<std::uint8_t>(bytes, bytes + data.length)
               : std::vector<std::uint8_t>();
}

double dateOf(const Object& object) {
  id value = objectOf(object);
  return [value isKindOfClass:[NSDate class]] ? [(NSDate*)value timeIntervalSinceReferenceDate] : 0;
}

std::vector<Object> elementsOf(const Object& array) {
  std::vector<Object> elements;
  id value = objectOf(array);
  if (![value isKindOfClass:[NSArray class]]) return elements;
  for (id element in (NSArray*)value) elements.push_back(wrap(element));
  return elements;
}

std::vector<std::pair<std::string, Object>> entriesOf(const Object& dictionary) {
  std::vector<std::pair<std::string, Object>> entries;
  id value = objectOf(dictionary);
  if (![value isKindOfClass:[NSDictionary class]]) return entries;
  NSDictionary* entriesByKey = value;
  NSMutableArray<NSString*>* keys = [NSMutableArray array];
  for (id key in entriesByKey) {
    if ([key isKindOfClass:[NSString class]]) [keys addObject:key];
  }
  [keys sortUsingSelector:@selector(compare:)];
  for (NSString* key in keys) {
    const char* text = key.UTF8String;
    entries.emplace_back(text ? text : "", wrap(entriesByKey[key]));
  }
  return entries;
}

Object makeBoolean(bool value) {
  return wrap(value ? @YES : @NO);
}

Object makeInteger(std::int64_t value) {
  return wrap([NSNumber numberWithLongLong:value]);
}

Object makeReal(double value) {
  return wrap([NSNumber numberWithDouble:value]);
}

Object makeString(const std::string& utf8) {
  NSString* text = [[NSString alloc] initWithBytes:utf8.data()
                                            length:utf8.size()
                                          encoding:NSUTF8StringEncoding];
  return wrap(text ? text : @"");
}

Object makeData(const std::vector<std::uint8_t>& bytes) {
  return wrap([NSData dataWithBytes:bytes.data() length:bytes.size()]);
}

Object makeDate(double secondsSinceReferenceDate) {
  return wrap([NSDate dateWithTimeIntervalSinceReferenceDate:secondsSinceReferenceDate]);
}

Object makeArray(const std::vector<Object>& elements) {
  NSMutableArray* array = [NSMutableArray arrayWithCapacity:elements.size()];
  for (const Object& element : elements) {
    if (id value = objectOf(element)) [array addObject:value];
  }
  return wrap(array);
}

Object makeDictionary(const std::vector<std::pair<std::string, Object>>& entries) {
  NSMutableDictionary* dictionary = [NSMutableDictionary dictionaryWithCapacity:entries.size()];
  for (const auto& [key, element] : entries) {
    id value = objectOf(element);
    NSString* name = [[NSString alloc] initWithBytes:key.data()
                                              length:key.size()
                                            encoding:NSUTF8StringEncoding];
    if (value && name) dictionary[name] = value;
  }
  return wrap(dictionary);
}

}  // namespace gw::native::plist
