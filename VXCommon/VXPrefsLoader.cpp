// The preference store.
#include "VXCommon/VXPrefsLoader.h"

#include <array>
#include <utility>
#include <vector>

#include "Dispatch/dispatch.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSScanner.h"
#include "Runtime/ProcessStatic.h"
#include "UIKit/UIColor.h"
#include "VXCommon/VXLogger.h"

namespace {

// The store of the current process; empty until the first sharedInstance().
const gw::ProcessStatic<std::shared_ptr<VXPrefsLoader>> storeOfProcess;
// Set by the first read of a process, which delays its broadcast; later reads post at once.
const gw::ProcessStatic<bool> firstPostScheduled;

// What a drag end's read-modify-write did: the dictionary written, or nothing.
struct OriginSave {
  std::optional<Foundation::Dictionary> written;
  bool withoutLock = false;  // the wait for the lock ran out; the file was rewritten without it
};
OriginSave writeOrigin(CGPoint origin);
std::uint32_t hexBitsAfterMark(std::string_view part);
void postPreferences(const Foundation::Dictionary& prefs);

}  // namespace

std::shared_ptr<VXPrefsLoader> VXPrefsLoader::sharedInstance() {
  std::shared_ptr<VXPrefsLoader>& store = storeOfProcess.get();
  if (!store) {
    VX_LOG(32, "+[VXPrefsLoader sharedInstance]_block_invoke", "VXPrefsLoader initialized");
    store = std::make_shared<VXPrefsLoader>(Passkey());
  }
  return store;
}

void VXPrefsLoader::addSaveListener() {
  if (saveListenerAdded_) return;
  saveListenerAdded_ = true;
  auto save = [weakSelf = weak_from_this()](const NSNotification& notification) {
    if (auto self = weakSelf.lock()) self->savePrefs(notification);
  };
  NSNotificationCenter::defaultCenter().addObserver(this, save, kPanEndNotification);
}

void VXPrefsLoader::savePrefs(const NSNotification& notification) {
  const std::optional<CGPoint> origin = notification.object.pointValue();
  const OriginSave save = origin ? writeOrigin(*origin) : OriginSave{};
  if (save.withoutLock) {
    VX_LOG(51, "-[VXPrefsLoader savePrefs:]",
           "prefs file locked for over %lld ms, writing without coordination",
           static_cast<long long>(kSaveLockWait.count()));
  }
  if (!save.written) {
    VX_LOG(52, "-[VXPrefsLoader savePrefs:]", "DIDNT save prefs!!");
  } else {
    VX_LOG(54, "-[VXPrefsLoader savePrefs:]", "prefs saved...");
    VXLogger::printDict(*save.written, "prefDict");
  }
}

VXPrefsLoader::~VXPrefsLoader() {
  NSNotificationCenter::defaultCenter().removeObserver(this);
}

UIColor colorFromString(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0, colon = 0; colon != std::string_view::npos; start = colon + 1) {
    colon = text.find(':', start);
    parts.push_back(text.substr(start, colon - start));  // to the end after the last ":"
  }
  if (parts.size() != 2) {
    VX_LOG(70, "colorFromString", "bg color parsing error, using default");
    return UIColor::colorWithRed(1.0, 1.0, 1.0, static_cast<double>(0.3f));
  }
  const float alpha = Foundation::Value::string(std::string(parts[1])).floatValue();
  const std::uint32_t bits = hexBitsAfterMark(parts[0]);
  return UIColor::colorWithRed(((bits >> 16) & 0xFF) / 255.0, ((bits >> 8) & 0xFF) / 255.0,
                               (bits & 0xFF) / 255.0, static_cast<double>(alpha));
}

void readPrefs(CFNotificationCenterRef, void*, const std::string&, const void*, CFDictionaryRef) {
  readPrefs();
}

namespace {

// Each converter gives nothing for a value of a kind it cannot convert.
std::optional<Foundation::Value> toBoolean(const Foundation::Value& value);
std::optional<Foundation::Value> toInteger(const Foundation::Value& value);
std::optional<Foundation::Value> toColor(const Foundation::Value& value);
std::optional<Foundation::Value> toSingleReal(const Foundation::Value& value);
std::optional<Foundation::Value> toArray(const Foundation::Value& value);
std::optional<Foundation::Value> toPoint(const Foundation::Value& value);

struct TypeWord {
  std::string_view word;
  std::optional<Foundation::Value> (*convert)(const Foundation::Value&);
};

// In the order a key is tested: the first word found decides.
constexpr std::array<TypeWord, 6> kTypeWords = {{
    {"Toggle", &toBoolean},
    {"Segmented", &toInteger},
    {"ColorPicker", &toColor},
    {"Slider", &toSingleReal},
    {"MultipleChoice", &toArray},
    {"Other", &toPoint},
}};

// One file entry's bare name and converted value; nothing for no type word or no conversion.
std::optional<Foundation::Dictionary::Entry> typedEntry(const std::string& key,
                                                        const Foundation::Value& value) {
  for (const TypeWord& type : kTypeWords) {
    const std::size_t at = key.find(type.word);
    if (at == std::string::npos) continue;
    std::optional<Foundation::Value> converted = type.convert(value);
    if (!converted) return std::nullopt;
    return Foundation::Dictionary::Entry(key.substr(at + type.word.size()), std::move(*converted));
  }
  return std::nullopt;
}

}  // namespace

void readPrefs() {
  VXPrefsLoader::sharedInstance()->addSaveListener();
  // Read from disk every time: nothing is cached, so an entry removed from the file is
  // missing from the next broadcast.
  const std::optional<Foundation::Dictionary> file =
      NSDictionary::dictionaryWithContentsOfFile(VXPrefsLoader::kPrefsPath);
  const Foundation::Dictionary noEntries;
  Foundation::Dictionary prefs;
  // In the file's own order, so that of two keys with one bare name the later one wins.
  for (const auto& [key, value] : file ? *file : noEntries) {
    std::optional<Foundation::Dictionary::Entry> typed = typedEntry(key, value);
    if (typed) prefs.set(std::move(typed->first), std::move(typed->second));
    if (!typed)
      VX_LOG(135, "readPrefs", "ERROR! got undefined pref type '%@' value '%@'", key, value);
  }

  // What is printed is the file's dictionary as read, not the converted one.
  VX_LOG(139, "readPrefs", "prefs updated...");
  if (file) VXLogger::printDict(*file, "prefDict");
  if (!std::exchange(firstPostScheduled.get(), true)) {
    // The consumers register only once the home screen has finished launching.
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, VXPrefsLoader::kFirstPostDelayNanoseconds),
                   dispatch_get_main_queue(), [prefs] {
                     postPreferences(prefs);
                     VX_LOG(146, "readPrefs_block_invoke", "prefs posted (respring)");
                   });
  } else {
    postPreferences(prefs);
    VX_LOG(150, "readPrefs", "prefs posted (update)");
  }
}

namespace {

void postPreferences(const Foundation::Dictionary& prefs) {
  NSNotificationCenter::defaultCenter().postNotificationName(
      VXPrefsLoader::kPrefsUpdatedNotification, Foundation::Value::dictionary(prefs));
}

// ---- conversion of the file's entries ----------------------------------------------------------

// Numbers and booleans are taken as they are; text gives what NSString would answer.
bool isScalar(const Foundation::Value& value) {
  return value.isNumber() || value.isString();
}

std::optional<Foundation::Value> toBoolean(const Foundation::Value& value) {
  if (!isScalar(value)) return std::nullopt;
  return Foundation::Value::boolean(value.boolValue());
}

std::optional<Foundation::Value> toInteger(const Foundation::Value& value) {
  if (!isScalar(value)) return std::nullopt;
  return Foundation::Value::integer(value.intValue());
}

std::optional<Foundation::Value> toColor(const Foundation::Value& value) {
  const std::string* text = value.stringValue();
  if (!text) return std::nullopt;
  return Foundation::Value::color(colorFromString(*text));
}

std::optional<Foundation::Value> toSingleReal(const Foundation::Value& value) {
  if (!isScalar(value)) return std::nullopt;
  return Foundation::Value::real(static_cast<double>(value.floatValue()));
}

std::optional<Foundation::Value> toArray(const Foundation::Value& value) {
  const Foundation::Array* elements = value.arrayValue();
  if (!elements) return std::nullopt;
  return Foundation::Value::array(*elements);
}

// A coordinate passes through single precision; a missing one (or one that is neither a
// number nor text) is 0.
double coordinate(const Foundation::Dictionary& point, std::string_view name) {
  const Foundation::Value* value = point.find(name);
  if (!value || !isScalar(*value)) return 0.0;
  return static_cast<double>(value->floatValue());
}

std::optional<Foundation::Value> toPoint(const Foundation::Value& value) {
  const Foundation::Dictionary* point = value.dictionaryValue();
  if (!point) return std::nullopt;
  return Foundation::Value::point(CGPointMake(coordinate(*point, "x"), coordinate(*point, "y")));
}

// ---- the colour's bits -------------------------------------------------------------------------

// The bits of a colour's first part: scanned from location 1, past the mark, which is never
// read; 0 when no number is there.
std::uint32_t hexBitsAfterMark(std::string_view part) {
  const std::shared_ptr<NSScanner> scanner = NSScanner::scannerWithString(part);
  // An empty part has no location 1: the device's scanner would stop the program.
  if (!part.empty()) scanner->setScanLocation(1);
  std::uint32_t bits = 0;
  scanner->scanHexInt(&bits);
  return bits;
}

// ---- saving the button position ----------------------------------------------------------------

OriginSave writeOrigin(CGPoint origin) {
  const char* path = VXPrefsLoader::kPrefsPath;
  OriginSave save;
  const auto rewrite = [&] {
    // A missing file is created (the first placement must not be lost before anything has
    // been set in the settings pane); one that exists but holds no readable dictionary is
    // left alone, since replacing it could destroy what the user has there.
    std::optional<Foundation::Dictionary> prefs =
        NSDictionary::readForRewrite(path).baseForRewrite();
    if (!prefs) return;
    prefs->set(VXPrefsLoader::kOriginKey, Foundation::Value::dictionary(Foundation::Dictionary{
                                              {"x", Foundation::Value::real(origin.x)},
                                              {"y", Foundation::Value::real(origin.y)},
                                          }));
    if (NSDictionary::writeToFile(*prefs, path, true)) save.written = std::move(prefs);
  };
  const NSFileCoordinator::Outcome outcome =
      NSFileCoordinator::coordinateWritingItemAtPath(path, VXPrefsLoader::kSaveLockWait, rewrite);
  if (outcome == NSFileCoordinator::Outcome::TimedOut) {
    save.withoutLock = true;
    rewrite();
  }
  return save;
}

// ---- start-up ----------------------------------------------------------------------------------

// Start-up initialiser 3 of the library: the first read, then the system-wide registration.
// The registration lasts as long as the process.
void initialisePreferences() {
  readPrefs();
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, &readPrefs,
                                  VXPrefsLoader::kSettingsChangedNotification, nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
}

}  // namespace

GW_LIBRARY_INITIALISER("Gyrowhirl", 3, &initialisePreferences);
