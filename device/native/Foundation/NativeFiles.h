// Files through NSFileManager, NSData and NSPropertyListSerialization, on paths given as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "native/Foundation/PropertyListNode.h"

namespace gw::native::foundation {

bool fileExists(const std::string& path);
// False with the error's localised description in `error` (when not null).
bool removeItem(const std::string& path, std::string* error);
// Creates the folder and any missing parents; true when it exists afterwards.
bool createDirectory(const std::string& path);

// The file's bytes (NSDataReadingOptions `options`), or nullopt with the error's localised
// description in `error` (when not null).
std::optional<std::vector<std::uint8_t>> readData(const std::string& path, int options,
                                                  std::string* error);

enum class DictionaryFileOutcome { Read, Absent, Unreadable };
// A property list file whose root is a dictionary. Absent when there is no such file; Unreadable
// when it is there but cannot be read or is not a dictionary.
DictionaryFileOutcome readDictionaryFile(const std::string& path, PropertyListNode& dictionary);
// The dictionary as an XML property list, replacing the file (atomically: through a temporary
// file) when `atomically`. False when it could not be serialised or written.
bool writeDictionaryFile(const PropertyListNode& dictionary, const std::string& path,
                         bool atomically);

}  // namespace gw::native::foundation
