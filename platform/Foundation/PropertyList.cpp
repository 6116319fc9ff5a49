#include "Foundation/PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace Foundation::PropertyList {

namespace {

// libplist builds one node per value (and per dictionary key), and a binary property list may
// reference one object from many places, each of which libplist expands into a copy. Input
// that would expand into more nodes than this is refused, so that a small hostile file cannot
// make the reader allocate without bound.
constexpr std::uint64_t kMaxNodes = std::uint64_t{1} << 21;

constexpr std::string_view kBinaryMagic = "bplist00";
constexpr std::size_t kBinaryHeaderBytes = 8;
constexpr std::size_t kBinaryTrailerBytes = 32;

constexpr double kMicrosecondsPerSecond = 1e6;

// ---- guards run before libplist sees the input ------------------------------------------

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == ':' || c == '.';
}

// Scans the XML markup the way the parser will tokenise it (comments, CDATA sections,
// processing instructions and declarations hold no elements) and checks how deeply arrays and
// dictionaries nest and how many elements there are.
bool xmlWithinLimits(std::string_view text) {
  int depth = 0;
  std::uint64_t elements = 0;
  std::size_t i = 0;
  const auto skipPast = [&](std::string_view terminator) {
    const std::size_t end = text.find(terminator, i);
    i = end == std::string_view::npos ? text.size() : end + terminator.size();
  };
  while (true) {
    i = text.find('<', i);
    if (i == std::string_view::npos) return true;
    if (startsWith(text, i, "<!--")) {
      i += 4;
      skipPast("-->");
      continue;
    }
    if (startsWith(text, i, "<![CDATA[")) {
      i += 9;
      skipPast("]]>");
      continue;
    }
    if (startsWith(text, i, "<?")) {
      i += 2;
      skipPast("?>");
      continue;
    }
    if (startsWith(text, i, "<!")) {
      i += 2;
      skipPast(">");
      continue;
    }
    const bool closing = startsWith(text, i, "</");
    i += closing ? 2 : 1;
    const std::size_t nameStart = i;
    while (i < text.size() && isNameChar(text[i])) ++i;
    const std::string_view name = text.substr(nameStart, i - nameStart);
    // The end of the tag, stepping over quoted attribute values.
    char quote = 0;
    bool selfClosing = false;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        selfClosing = text[i - 1] == '/';
        break;
      }
    }
    const bool container = name == "array" || name == "dict";
    if (closing) {
      if (container && depth > 0) --depth;
      continue;
    }
    if (++elements > kMaxNodes) return false;
    if (container && !selfClosing && ++depth > kMaxNestingDepth) return false;
  }
}

std::uint64_t readBigEndian(const std::uint8_t* p, std::size_t bytes) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

// Walks the object graph of a binary property list without recursion and checks that it is
// well formed enough to hand to libplist: every offset and reference in range, no cycles,
// arrays and dictionaries nested no deeper than kMaxNestingDepth, and no more than kMaxNodes
// nodes once shared objects are expanded.
bool binaryWithinLimits(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBinaryHeaderBytes + kBinaryTrailerBytes) return false;
  const std::uint8_t* trailer = bytes.data() + bytes.size() - kBinaryTrailerBytes;
  const std::size_t offsetSize = trailer[6];
  const std::size_t refSize = trailer[7];
  const std::uint64_t objectCount = readBigEndian(trailer + 8, 8);
  const std::uint64_t topObject = readBigEndian(trailer + 16, 8);
  const std::uint64_t tableOffset = readBigEndian(trailer + 24, 8);
  const std::uint64_t tableEnd = bytes.size() - kBinaryTrailerBytes;
  if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
  if (objectCount == 0 || objectCount > kMaxNodes || topObject >= objectCount) return false;
  if (tableOffset < kBinaryHeaderBytes || tableOffset > tableEnd ||
      objectCount * offsetSize > tableEnd - tableOffset) {
    return false;
  }

  const auto objectOffset = [&](std::uint64_t object) {
    return readBigEndian(bytes.data() + tableOffset + object * offsetSize, offsetSize);
  };
  // An object's marker: its type (high nibble) and its length (low nibble, or 0xF followed by
  // an integer object holding it). On success `at` is left on the object's first content byte.
  struct Header {
    int type = 0;
    std::uint64_t length = 0;
  };
  const auto headerOf = [&](std::uint64_t object, std::uint64_t& at, Header& out) {
    at = objectOffset(object);
    if (at < kBinaryHeaderBytes || at >= tableOffset) return false;
    out = {bytes[at] >> 4, static_cast<std::uint64_t>(bytes[at] & 0xF)};
    ++at;
    if (out.length != 0xF) return true;
    if (at >= tableOffset || (bytes[at] >> 4) != 0x1) return false;
    const std::size_t width = std::size_t{1} << (bytes[at] & 0xF);
    if (width > 8 || at + 1 + width > tableOffset) return false;
    out.length = readBigEndian(bytes.data() + at + 1, width);
    at += 1 + width;
    return true;
  };
  // Where the references of a container start and how many there are; false when the object
  // is malformed. Objects other than arrays, sets and dictionaries have no references.
  struct Children {
    std::uint64_t first = 0;
    std::uint64_t count = 0;
  };
  const auto childrenOf = [&](std::uint64_t object, Children& out) {
    out = {};
    std::uint64_t at = objectOffset(object);
    if (at < kBinaryHeaderBytes || at >= tableOffset) return false;
    const int type = bytes[at] >> 4;
    if (type != 0xA && type != 0xC && type != 0xD) return true;
    Header header;
    if (!headerOf(object, at, header)) return false;
    if (header.length > tableOffset) return false;  // more references than there are bytes
    const std::uint64_t refs = type == 0xD ? 2 * header.length : header.length;
    if (refs * refSize > tableOffset - at) return false;
    out = {at, refs};
    return true;
  };

  // libplist hands dictionary keys out as C strings and stops the process with an assertion
  // when a key holds a NUL character, so a key must be an ASCII or UTF-16 string, lie within
  // the object area, and hold no NUL.
  const auto isUsableKey = [&](std::uint64_t object) {
    std::uint64_t at = 0;
    Header header;
    if (!headerOf(object, at, header) || (header.type != 0x5 && header.type != 0x6)) return false;
    const std::uint64_t unitBytes = header.type == 0x6 ? 2 : 1;
    if (header.length > (tableOffset - at) / unitBytes) return false;
    for (std::uint64_t k = 0; k < header.length; ++k) {
      if (readBigEndian(bytes.data() + at + k * unitBytes, unitBytes) == 0) return false;
    }
    return true;
  };

  enum : std::uint8_t { kUnvisited, kActive, kDone };
  std::vector<std::uint8_t> state(objectCount, kUnvisited);
  std::vector<std::uint16_t> height(objectCount,
                                    0);              // containers nested from here, itself included
  std::vector<std::uint32_t> nodes(objectCount, 0);  // nodes after expansion, saturating
  struct Frame {
    std::uint64_t object;
    Children children;
    std::uint64_t next;
    bool container;
    std::uint64_t keys;  // a dictionary's first `keys` references name its keys
  };
  std::vector<Frame> stack;
  const auto enter = [&](std::uint64_t object) {
    Children children;
    if (!childrenOf(object, children)) return false;
    const std::uint8_t type = bytes[objectOffset(object)] >> 4;
    state[object] = kActive;
    stack.push_back({object, children, 0, type == 0xA || type == 0xC || type == 0xD,
                     type == 0xD ? children.count / 2 : 0});
    return stack.size() <= static_cast<std::size_t>(kMaxNestingDepth) + 1;
  };
  if (!enter(topObject)) return false;
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next < frame.children.count) {
      const std::uint64_t child =
          readBigEndian(bytes.data() + frame.children.first + frame.next * refSize, refSize);
      const bool isKey = frame.next < frame.keys;
      ++frame.next;
      if (child >= objectCount || state[child] == kActive) return false;  // out of range or a cycle
      if (isKey && !isUsableKey(child)) return false;
      if (state[child] == kUnvisited && !enter(child)) return false;
      continue;
    }
    // All children are done: fold them into this object.
    std::uint64_t total = 1;
    int deepest = 0;
    for (std::uint64_t k = 0; k < frame.children.count; ++k) {
      const std::uint64_t child =
          readBigEndian(bytes.data() + frame.children.first + k * refSize, refSize);
      total += nodes[child];
      deepest = std::max<int>(deepest, height[child]);
      if (total > kMaxNodes) return false;
    }
    const int own = deepest + (frame.container ? 1 : 0);
    if (own > kMaxNestingDepth) return false;
    height[frame.object] = static_cast<std::uint16_t>(own);
    nodes[frame.object] = static_cast<std::uint32_t>(total);
    state[frame.object] = kDone;
    stack.pop_back();
  }
  return true;
}

// ---- libplist nodes -> values --------------------------------------------------------------

struct PlistDeleter {
  void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

std::optional<Value> toValue(plist_t node, int depth);

std::optional<Dictionary> toDictionary(plist_t node, int depth) {
  Dictionary dict;
  plist_dict_iter rawIter = nullptr;
  plist_dict_new_iter(node, &rawIter);
  std::unique_ptr<void, FreeDeleter> iter(rawIter);
  // The C iterator lists keys in file order.
  while (true) {
    char* rawKey = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, iter.get(), &rawKey, &item);
    std::unique_ptr<char, FreeDeleter> key(rawKey);
    if (item == nullptr) break;
    if (!key) return std::nullopt;
    std::optional<Value> value = toValue(item, depth + 1);
    if (!value) return std::nullopt;
    dict.set(key.get(), std::move(*value));
  }
  return dict;
}

std::optional<Value> toValue(plist_t node, int depth) {
  if (node == nullptr || depth > kMaxNestingDepth) return std::nullopt;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value::boolean(b != 0);
    }
    case PLIST_UINT: {
      // libplist keeps every integer as an unsigned 64-bit pattern; negatives come back wrapped.
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value::integer(static_cast<std::int64_t>(u));
    }
    case PLIST_UID: {
      std::uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value::integer(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value::real(d);
    }
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return Value::string(s ? std::string(s, length) : std::string());
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* p = plist_get_data_ptr(node, &length);
      const auto* begin = reinterpret_cast<const std::uint8_t*>(p);
      return Value::data(p ? Data(begin, begin + length) : Data());
    }
    case PLIST_DATE: {
      std::int32_t seconds = 0;
      std::int32_t microseconds = 0;
      plist_get_date_val(node, &seconds, &microseconds);
      return Value::date(Date{seconds + microseconds / kMicrosecondsPerSecond});
    }
    case PLIST_ARRAY: {
      const std::uint32_t count = plist_array_get_size(node);
      Array array;
      array.reserve(count);
      for (std::uint32_t i = 0; i < count; ++i) {
        std::optional<Value> element = toValue(plist_array_get_item(node, i), depth + 1);
        if (!element) return std::nullopt;
        array.push_back(std::move(*element));
      }
      return Value::array(std::move(array));
    }
    case PLIST_DICT: {
      std::optional<Dictionary> dict = toDictionary(node, depth);
      if (!dict) return std::nullopt;
      return Value::dictionary(std::move(*dict));
    }
    default:
      return std::nullopt;
  }
}

PlistPtr parseToNode(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > kMaxFileBytes) return nullptr;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  plist_t root = nullptr;
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (text.starts_with(kBinaryMagic)) {
    if (!binaryWithinLimits(bytes)) return nullptr;
    plist_from_bin(text.data(), length, &root);
  } else {
    if (!xmlWithinLimits(text)) return nullptr;
    plist_from_xml(text.data(), length, &root);
  }
  return PlistPtr(root);
}

// ---- values -> libplist nodes --------------------------------------------------------------

plist_t newDate(Date date) {
  double seconds = std::floor(date.secondsSinceReferenceDate);
  double micro = std::round((date.secondsSinceReferenceDate - seconds) * kMicrosecondsPerSecond);
  if (micro >= kMicrosecondsPerSecond) {
    seconds += 1;
    micro = 0;
  }
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(seconds)) seconds = 0;
  if (seconds < kMin || seconds > kMax) micro = 0;
  seconds = std::clamp(seconds, kMin, kMax);
  return plist_new_date(static_cast<std::int32_t>(seconds), static_cast<std::int32_t>(micro));
}

plist_t newRealDict(std::initializer_list<std::pair<const char*, double>> entries) {
  plist_t dict = plist_new_dict();
  for (const auto& [key, v] : entries) plist_dict_set_item(dict, key, plist_new_real(v));
  return dict;
}

// A libplist node for `value`, or nullptr for null (left out). `refused` is set when the value
// cannot be written faithfully: nested too deeply, or a dictionary key holding a NUL.
plist_t toNode(const Value& value, int depth, bool& refused) {
  if (depth > kMaxNestingDepth) {
    refused = true;
    return nullptr;
  }
  switch (value.kind()) {
    case Value::Kind::Null:
      return nullptr;
    case Value::Kind::Boolean:
      return plist_new_bool(value.boolValue() ? 1 : 0);
    case Value::Kind::Integer:
      return plist_new_uint(static_cast<std::uint64_t>(value.longLongValue()));
    case Value::Kind::Real:
      return plist_new_real(value.doubleValue());
    case Value::Kind::String:
      return plist_new_string(value.stringValue()->c_str());
    case Value::Kind::Data: {
      const Data& data = *value.dataValue();
      return plist_new_data(reinterpret_cast<const char*>(data.data()), data.size());
    }
    case Value::Kind::Date:
      return newDate(*value.dateValue());
    case Value::Kind::Array: {
      plist_t array = plist_new_array();
      for (const Value& element : *value.arrayValue()) {
        if (plist_t child = toNode(element, depth + 1, refused)) {
          plist_array_append_item(array, child);
        }
      }
      return array;
    }
    case Value::Kind::Dictionary: {
      plist_t dict = plist_new_dict();
      for (const auto& [key, element] : *value.dictionaryValue()) {
        // libplist takes keys as C strings: one holding a NUL would be cut short and could
        // land on another entry's key, so such a value is not written at all.
        if (key.find('\0') != std::string::npos) {
          refused = true;
          continue;
        }
        if (plist_t child = toNode(element, depth + 1, refused)) {
          plist_dict_set_item(dict, key.c_str(), child);
        }
      }
      return dict;
    }
    case Value::Kind::Point: {
      const CGPoint p = *value.pointValue();
      return newRealDict({{"x", p.x}, {"y", p.y}});
    }
    case Value::Kind::Color: {
      const UIColor c = *value.colorValue();
      return newRealDict(
          {{"red", c.red()}, {"green", c.green()}, {"blue", c.blue()}, {"alpha", c.alpha()}});
    }
  }
  return nullptr;
}

}  // namespace

std::optional<Value> parse(std::span<const std::uint8_t> bytes) {
  const PlistPtr root = parseToNode(bytes);
  if (!root) return std::nullopt;
  return toValue(static_cast<plist_t>(root.get()), 0);
}

std::optional<Dictionary> parseDictionary(std::span<const std::uint8_t> bytes) {
  const PlistPtr root = parseToNode(bytes);
  if (!root || plist_get_node_type(static_cast<plist_t>(root.get())) != PLIST_DICT) {
    return std::nullopt;
  }
  return toDictionary(static_cast<plist_t>(root.get()), 0);
}

std::string toXML(const Value& value) {
  bool refused = false;
  const PlistPtr root(toNode(value, 0, refused));
  if (refused) return {};
  if (!root) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"/>\n";
  }
  char* xml = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(static_cast<plist_t>(root.get()), &xml, &length);
  std::unique_ptr<char, FreeDeleter> owned(xml);
  return xml ? std::string(xml, length) : std::string();
}

Data toBinary(const Value& value) {
  bool refused = false;
  const PlistPtr root(toNode(value, 0, refused));
  if (refused || !root) return {};
  char* bin = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(static_cast<plist_t>(root.get()), &bin, &length);
  std::unique_ptr<char, FreeDeleter> owned(bin);
  if (!bin) return {};
  const auto* begin = reinterpret_cast<const std::uint8_t*>(bin);
  return Data(begin, begin + length);
}

}  // namespace Foundation::PropertyList
