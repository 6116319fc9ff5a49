// Wraps NSFileManager (fileExistsAtPath:, removeItemAtPath:error:,
// createDirectoryAtPath:withIntermediateDirectories:attributes:error:), NSData
// (dataWithContentsOfFile:options:error:, writeToFile:options:error:) and
// NSPropertyListSerialization (propertyListWithData:options:format:error:,
// dataWithPropertyList:format:options:error:).
#include "native/Foundation/NativeFiles.h"

#import <Foundation/Foundation.h>

#include <cerrno>

#include "native/Foundation/PropertyListBridge.h"

namespace gw::native::foundation {

namespace {

NSString* pathString(const std::string& path) {
  return [[NSString alloc] initWithBytes:path.data()
                                  length:path.size()
                                encoding:NSUTF8StringEncoding];
}

void describe(NSError* failure, std::string* error) {
  if (error == nullptr) return;
  const char* text = failure.localizedDescription.UTF8String;
  *error = text ? text : "unknown error";
}

// Whether `failure` says that the file is not there (as opposed to there but unreadable).
bool isMissingFile(NSError* failure) {
  if ([failure.domain isEqualToString:NSCocoaErrorDomain] &&
      failure.code == NSFileReadNoSuchFileError) {
    return true;
  }
  if ([failure.domain isEqualToString:NSPOSIXErrorDomain] && failure.code == ENOENT) return true;
  NSError* underlying = failure.userInfo[NSUnderlyingErrorKey];
  return underlying != nil && isMissingFile(underlying);
}

}  // namespace

bool fileExists(const std::string& path) {
  NSString* string = pathString(path);
  return string != nil && [[NSFileManager defaultManager] fileExistsAtPath:string];
}

bool removeItem(const std::string& path, std::string* error) {
  NSString* string = pathString(path);
  NSError* failure = nil;
  if (string != nil && [[NSFileManager defaultManager] removeItemAtPath:string error:&failure]) {
    return true;
  }
  describe(failure, error);
  return false;
}

bool createDirectory(const std::string& path) {
  NSString* string = pathString(path);
  return string != nil && [[NSFileManager defaultManager] createDirectoryAtPath:string
                                                    withIntermediateDirectories:YES
                                                                     attributes:nil
                                                                          error:nil];
}

std::optional<std::vector<std::uint8_t>> readData(const std::string& path, int options,
                                                  std::string* error) {
  NSString* string = pathString(path);
  NSError* failure = nil;
  NSData* data = string ? [NSData dataWithContentsOfFile:string
                                                 options:static_cast<NSDataReadingOptions>(options)
                                                   error:&failure]
                        : nil;
  if (data == nil) {
    describe(failure, error);
    return std::nullopt;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
  if (bytes == nullptr) return std::vector<std::uint8_t>();
  return std::vector<std::uint8_t>(bytes, bytes + data.length);
}

DictionaryFileOutcome readDictionaryFile(const std::string& path, PropertyListNode& dictionary) {
  NSString* string = pathString(path);
  if (string == nil) return DictionaryFileOutcome::Absent;
  NSError* failure = nil;
  NSData* data = [NSData dataWithContentsOfFile:string options:0 error:&failure];
  if (data == nil) {
    return isMissingFile(failure) ? DictionaryFileOutcome::Absent
                                  : DictionaryFileOutcome::Unreadable;
  }
  id root = [NSPropertyListSerialization propertyListWithData:data
                                                      options:NSPropertyListImmutable
                                                       format:nullptr
                                                        error:nil];
  if (![root isKindOfClass:[NSDictionary class]]) return DictionaryFileOutcome::Unreadable;
  std::optional<PropertyListNode> node =
      nodeFromObject(Object::retaining((__bridge const void*)root));
  if (!node) return DictionaryFileOutcome::Unreadable;
  dictionary = std::move(*node);
  return DictionaryFileOutcome::Read;
}

bool writeDictionaryFile(const PropertyListNode& dictionary, const std::string& path,
                         bool atomically) {
  NSString* string = pathString(path);
  const Object object = objectFromNode(dictionary);
  if (string == nil || !object) return false;
  NSData* data = [NSPropertyListSerialization dataWithPropertyList:(__bridge id)object.get()
                                                            format:NSPropertyListXMLFormat_v1_0
                                                           options:0
                                                             error:nil];
  if (data == nil) return false;
  return [data writeToFile:string options:(atomically ? NSDataWritingAtomic : 0)error:nil];
}

}  // namespace gw::native::foundation
