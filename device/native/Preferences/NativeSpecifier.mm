// Wraps the Preferences framework's PSSpecifier (preferenceSpecifierNamed:..., propertyForKey:,
// setProperty:forKey:, name, cellType, target), with an associated object
// (objc_setAssociatedObject) for the link to the face's object.
#include "NativeSpecifier.h"

#import <objc/runtime.h>

#import "PreferencesInterfaces.h"

// Holds the face's object standing for a row, weakly.
@interface GWPSpecifierLink : NSObject {
 @public
  std::weak_ptr<void> twin;
}
@end

@implementation GWPSpecifierLink
@end

namespace gw::native::preferences {

namespace {

const char kLinkKey = 0;

PSSpecifier* specifierOf(const Object& specifier) {
  id object = (__bridge id)specifier.get();
  return [object isKindOfClass:[PSSpecifier class]] ? object : nil;
}

Object wrap(id object) {
  return Object::retaining((__bridge const void*)object);
}

NSString* stringOf(const std::string& text) {
  return [[NSString alloc] initWithBytes:text.data()
                                  length:text.size()
                                encoding:NSUTF8StringEncoding];
}

}  // namespace

Object makeSpecifier(const std::string& name, std::int64_t cellType, const Object& properties) {
  id given = (__bridge id)properties.get();
  NSDictionary* entries =
      [given isKindOfClass:[NSDictionary class]] ? given : [NSDictionary dictionary];
  // What the framework's own list loading derives from an entry: the page a "detail" row
  // opens and the selector a button row's "action" names.
  id detail = entries[@"detail"];
  Class detailClass = [detail isKindOfClass:[NSString class]] ? NSClassFromString(detail) : Nil;
  PSSpecifier* specifier = [PSSpecifier preferenceSpecifierNamed:stringOf(name)
                                                          target:nil
                                                             set:@selector(setPreferenceValue:
                                                                                    specifier:)
                                                             get:@selector(readPreferenceValue:)
                                                          detail:detailClass
                                                            cell:static_cast<PSCellType>(cellType)
                                                            edit:Nil];
  for (id key in entries) {
    if ([key isKindOfClass:[NSString class]]) [specifier setProperty:entries[key] forKey:key];
  }
  id action = entries[@"action"];
  if ([action isKindOfClass:[NSString class]] &&
      [specifier respondsToSelector:@selector(setButtonAction:)]) {
    specifier.buttonAction = NSSelectorFromString(action);
  }
  return wrap(specifier);
}

Object specifierProperty(const Object& specifier, const std::string& key) {
  NSString* name = stringOf(key);
  if (!name) return {};
  return wrap([specifierOf(specifier) propertyForKey:name]);
}

void setSpecifierProperty(const Object& specifier, const Object& value, const std::string& key) {
  NSString* name = stringOf(key);
  if (!name) return;
  PSSpecifier* row = specifierOf(specifier);
  id object = (__bridge id)value.get();
  if (object) {
    [row setProperty:object forKey:name];
  } else {
    // Not through setProperty:forKey:, which would hand nil to a dictionary.
    [row.properties removeObjectForKey:name];
  }
}

Object specifierProperties(const Object& specifier) {
  return wrap(specifierOf(specifier).properties);
}

std::string specifierName(const Object& specifier) {
  const char* text = specifierOf(specifier).name.UTF8String;
  return text ? std::string(text) : std::string();
}

std::int64_t specifierCellType(const Object& specifier) {
  return specifierOf(specifier).cellType;
}

void setSpecifierCellType(const Object& specifier, std::int64_t cellType) {
  specifierOf(specifier).cellType = static_cast<PSCellType>(cellType);
}

Object specifierTarget(const Object& specifier) {
  return wrap(specifierOf(specifier).target);
}

void setSpecifierTarget(const Object& specifier, const Object& target) {
  specifierOf(specifier).target = (__bridge id)target.get();
}

void linkSpecifier(const Object& specifier, std::weak_ptr<void> twin) {
  PSSpecifier* row = specifierOf(specifier);
  if (!row) return;
  GWPSpecifierLink* link = [[GWPSpecifierLink alloc] init];
  link->twin = std::move(twin);
  objc_setAssociatedObject(row, &kLinkKey, link, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

std::shared_ptr<void> linkedSpecifier(const Object& specifier) {
  PSSpecifier* row = specifierOf(specifier);
  if (!row) return nullptr;
  GWPSpecifierLink* link = objc_getAssociatedObject(row, &kLinkKey);
  return link ? link->twin.lock() : nullptr;
}

}  // namespace gw::native::preferences
