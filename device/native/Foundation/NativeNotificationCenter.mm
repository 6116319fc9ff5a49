// Wraps NSNotificationCenter's default centre: addObserverForName:object:queue:usingBlock:,
// removeObserver:, postNotificationName:object:userInfo:.
#include "native/Foundation/NativeNotificationCenter.h"

#import <Foundation/Foundation.h>

// Carries a C++ value through an NSNotification as its object or inside its user info.
@interface GWFoundationNotificationPayload : NSObject
@property(nonatomic, readonly) std::shared_ptr<const void> value;
- (instancetype)initWithValue:(std::shared_ptr<const void>)value;
@end

@implementation GWFoundationNotificationPayload {
  std::shared_ptr<const void> _value;
}
- (instancetype)initWithValue:(std::shared_ptr<const void>)value {
  if ((self = [super init])) _value = std::move(value);
  return self;
}
- (std::shared_ptr<const void>)value {
  return _value;
}
@end

namespace gw::native::foundation {

namespace {

NSString* const kUserInfoPayloadKey = @"GWFoundationPayload";

std::shared_ptr<const void> payloadOf(id object) {
  if (![object isKindOfClass:[GWFoundationNotificationPayload class]]) return nullptr;
  return [(GWFoundationNotificationPayload*)object value];
}

NSString* nameString(const std::string& name) {
  return [[NSString alloc] initWithBytes:name.data()
                                  length:name.size()
                                encoding:NSUTF8StringEncoding];
}

}  // namespace

Object addNotificationObserver(const std::string& name, NotificationBlock block) {
  NSString* observed = name.empty() ? nil : nameString(name);
  if (!name.empty() && observed == nil) return {};
  auto shared = std::make_shared<NotificationBlock>(std::move(block));
  id token = [[NSNotificationCenter defaultCenter]
      addObserverForName:observed
                  object:nil
                   queue:nil
              usingBlock:^(NSNotification* notification) {
                const char* text = notification.name.UTF8String;
                (*shared)(text ? std::string(text) : std::string(), payloadOf(notification.object),
                          payloadOf(notification.userInfo[kUserInfoPayloadKey]));
              }];
  return Object::retaining((__bridge const void*)token);
}

void removeNotificationObserver(const Object& token) {
  if (token) [[NSNotificationCenter defaultCenter] removeObserver:(__bridge id)token.get()];
}

void postNotification(const std::string& name, std::shared_ptr<const void> object,
                      std::shared_ptr<const void> userInfo) {
  NSString* posted = nameString(name);
  if (posted == nil) return;
  id sender =
      object ? [[GWFoundationNotificationPayload alloc] initWithValue:std::move(object)] : nil;
  NSDictionary* info = userInfo ? @{
    kUserInfoPayloadKey :
        [[GWFoundationNotificationPayload alloc] initWithValue:std::move(userInfo)]
  }
                                : nil;
  [[NSNotificationCenter defaultCenter] postNotificationName:posted object:sender userInfo:info];
}

}  // namespace gw::native::foundation
