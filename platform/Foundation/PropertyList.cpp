#include "Foundation/PropertyList.h"

#include "Foundation/XMLTreeShape.h"

#include <plist/plist.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
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

// ---- guards run before libplist sees the input ------------------------------------------

// libplist frees the tree it builds (also a partial one) by recursion, so the depth is found
// the way its tokeniser reads the text before it sees it. XML holds no NUL character; libplist
// would read one inside a string as a run of NULs to the string's end, so such text is refused
// too rather than read as something other than what it holds.
bool xmlWithinLimits(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return false;
  const XMLTreeShape shape = measureXMLTree(text, kMaxNestingDepth, kMaxNodes);
  return shape.depth <= kMaxNestingDepth && shape.nodes <= kMaxNodes;
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

  // Whether a string object (ASCII or UTF-16) lies within the object area and reads back as
  // what it holds. libplist cuts strings at a NUL character and drops unpaired UTF-16
  // surrogates, so a file holding such a string would be read as something else, and a caller
  // that writes back what it read would change an entry it never touched. (A dictionary key
  // holding a NUL would even stop the process: libplist asserts on it.)
  const auto isExactString = [&](std::uint64_t object) {
    std::uint64_t at = 0;
    Header header;
    if (!headerOf(object, at, header) || (header.type != 0x5 && header.type != 0x6)) return false;
    const std::uint64_t unitBytes = header.type == 0x6 ? 2 : 1;
    if (header.length > (tableOffset - at) / unitBytes) return false;
    bool afterLead = false;
    for (std::uint64_t k = 0; k < header.length; ++k) {
      const std::uint64_t unit = readBigEndian(bytes.data() + at + k * unitBytes, unitBytes);
      if (unit == 0) return false;
      if (unitBytes == 1) continue;
      const bool lead = unit >= 0xD800 && unit <= 0xDBFF;
      const bool trail = unit >= 0xDC00 && unit <= 0xDFFF;
      if (trail != afterLead) return false;
      afterLead = lead;
    }
    return !afterLead;
  };
  const auto isString = [&](std::uint64_t object) {
    const std::uint64_t at = objectOffset(object);
    if (at < kBinaryHeaderBytes || at >= tableOffset) return false;
    const int type = bytes[at] >> 4;
    return type == 0x5 || type == 0x6;
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
  if (isString(topObject) && !isExactString(topObject)) return false;
  if (!enter(topObject)) return false;
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next < frame.children.count) {
      const std::uint64_t child =
          readBigEndian(bytes.data() + frame.children.first + frame.next * refSize, refSize);
      const bool isKey = frame.next < frame.keys;
      ++frame.next;
      if (child >= objectCount || state[child] == kActive) return false;  // out of range or a cycle
      if (isKey && !isString(child)) return false;
      // Checked once per object, however often it is referenced.
      if (state[child] == kUnvisited && isString(child) && !isExactString(child)) return false;
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

// libplist keeps a date as a double (seconds since 2001) but hands it out and takes it in only
// as 32-bit seconds and unsigned microseconds: dates outside 1933-2069 wrapped to 1932-12-13,
// and a fraction before 2001 lost its sign. Its binary form carries the double itself, so dates
// pass through that form: a lone date serialises as the header, the date's marker and its
// big-endian double.
constexpr std::uint8_t kBinaryDateMarker = 0x33;
constexpr std::size_t kBinaryDateBytes = 8;

std::optional<double> dateSeconds(plist_t node) {
  char* raw = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(node, &raw, &length);
  const std::unique_ptr<char, FreeDeleter> owned(raw);
  const auto* bin = reinterpret_cast<const std::uint8_t*>(raw);
  if (bin == nullptr || length < kBinaryHeaderBytes + 1 + kBinaryDateBytes ||
      bin[kBinaryHeaderBytes] != kBinaryDateMarker) {
    return std::nullopt;
  }
  return std::bit_cast<double>(readBigEndian(bin + kBinaryHeaderBytes + 1, kBinaryDateBytes));
}

// A libplist date node holding exactly `seconds`.
plist_t newDate(double seconds) {
  Data bin(kBinaryMagic.begin(), kBinaryMagic.end());
  bin.push_back(kBinaryDateMarker);
  const auto bits = std::bit_cast<std::uint64_t>(seconds);
  for (int shift = 56; shift >= 0; shift -= 8)
    bin.push_back(static_cast<std::uint8_t>(bits >> shift));
  const std::size_t tableOffset = bin.size();
  bin.push_back(static_cast<std::uint8_t>(kBinaryHeaderBytes));  // the date's offset
  const std::uint8_t trailer[kBinaryTrailerBytes] = {
      0, 0, 0, 0, 0, 0, 1, 1,                                        // offset and reference size
      0, 0, 0, 0, 0, 0, 0, 1,                                        // one object
      0, 0, 0, 0, 0, 0, 0, 0,                                        // the top object
      0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(tableOffset)};  // the offset table
  bin.insert(bin.end(), std::begin(trailer), std::end(trailer));
  plist_t node = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(bin.data()), static_cast<std::uint32_t>(bin.size()),
                 &node);
  return node;
}

// Whether an XML property list gives `seconds` back unchanged: it writes whole seconds only,
// and its text form covers a limited span of years. Tried on the date itself.
bool xmlKeepsDate(double seconds) {
  const PlistPtr node(newDate(seconds));
  if (!node) return false;
  char* xml = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(static_cast<plist_t>(node.get()), &xml, &length);
  const std::unique_ptr<char, FreeDeleter> owned(xml);
  if (xml == nullptr) return false;
  plist_t raw = nullptr;
  plist_from_xml(xml, length, &raw);
  const PlistPtr back(raw);
  if (!back || plist_get_node_type(raw) != PLIST_DATE) return false;
  const std::optional<double> read = dateSeconds(raw);
  return read && std::bit_cast<std::uint64_t>(*read) == std::bit_cast<std::uint64_t>(seconds);
}

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
      const std::optional<double> seconds = dateSeconds(node);
      if (!seconds) return std::nullopt;
      return Value::date(Date{*seconds});
    }
    case PLIST_ARRAY: {
      Array array;
      array.reserve(plist_array_get_size(node));
      // Walked along the siblings: fetching element i by index walks from the first element
      // each time, which made large arrays take quadratic time.
      plist_array_iter rawIter = nullptr;
      plist_array_new_iter(node, &rawIter);
      const std::unique_ptr<void, FreeDeleter> iter(rawIter);
      while (true) {
        plist_t item = nullptr;
        plist_array_next_item(node, iter.get(), &item);
        if (item == nullptr) break;
        std::optional<Value> element = toValue(item, depth + 1);
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

plist_t newRealDict(std::initializer_list<std::pair<const char*, double>> entries) {
  plist_t dict = plist_new_dict();
  for (const auto& [key, v] : entries) plist_dict_set_item(dict, key, plist_new_real(v));
  return dict;
}

enum class Form { XML, Binary };

// A libplist node for `value`, or nullptr for null (left out). `refused` is set when the value
// cannot be written faithfully in `form`: nested too deeply, a dictionary key or a string
// holding a NUL (libplist takes both as C strings), or a date the form cannot hold exactly.
plist_t toNode(const Value& value, Form form, int depth, bool& refused) {
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
    case Value::Kind::String: {
      const std::string& text = *value.stringValue();
      if (text.find('\0') != std::string::npos) {
        refused = true;
        return nullptr;
      }
      return plist_new_string(text.c_str());
    }
    case Value::Kind::Data: {
      const Data& data = *value.dataValue();
      return plist_new_data(reinterpret_cast<const char*>(data.data()), data.size());
    }
    case Value::Kind::Date: {
      const double seconds = value.dateValue()->secondsSinceReferenceDate;
      if (form == Form::XML && !xmlKeepsDate(seconds)) {
        refused = true;
        return nullptr;
      }
      plist_t date = newDate(seconds);
      if (date == nullptr) refused = true;
      return date;
    }
    case Value::Kind::Array: {
      plist_t array = plist_new_array();
      for (const Value& element : *value.arrayValue()) {
        if (plist_t child = toNode(element, form, depth + 1, refused)) {
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
        if (plist_t child = toNode(element, form, depth + 1, refused)) {
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
      const CGColor c = *value.colorValue();
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
  const PlistPtr root(toNode(value, Form::XML, 0, refused));
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
  const PlistPtr root(toNode(value, Form::Binary, 0, refused));
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
