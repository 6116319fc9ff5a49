#include "Foundation/Value.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "Foundation/DecimalReal.h"

namespace Foundation {

namespace {

// Dictionaries with at least this many keys keep a hash index beside their ordered entries.
constexpr std::size_t kIndexThresholdEntries = 32;
// Seconds between 1970-01-01 (Unix epoch) and 2001-01-01 (NSDate reference date).
constexpr std::int64_t kReferenceDateUnixSeconds = 978307200;
constexpr int kDescriptionIndentSpaces = 4;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view s, std::size_t i) {
  while (i < s.size() && isSpace(s[i])) ++i;
  return i;
}

// NSString intValue / longLongValue: the leading decimal integer after white space,
// saturating at the limits of the result type; 0 when there is none.
std::int64_t scanInteger(std::string_view s, std::int64_t min, std::int64_t max) {
  std::size_t i = skipSpace(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so that the minimum is representable.
  std::int64_t value = 0;
  bool saturated = false;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    const int digit = s[i] - '0';
    if (saturated) continue;
    if (value < (min + digit) / 10) {
      saturated = true;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) return saturated ? min : std::max(value, min);
  if (saturated || value < -max) return max;
  return -value;
}

// NSString doubleValue: the leading decimal number (sign, digits, fraction, exponent) after
// white space; 0 when there is none.
double scanReal(std::string_view s) {
  std::size_t i = skipSpace(s, 0);
  const std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  while (i < s.size() && isDigit(s[i])) ++i;
  bool hasDigits = i > mantissaStart;
  if (i < s.size() && s[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < s.size() && isDigit(s[i])) ++i;
    hasDigits = hasDigits || i > fractionStart;
  }
  if (!hasDigits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t exponentStart = j;
    while (j < s.size() && isDigit(s[j])) ++j;
    if (j > exponentStart) i = j;
  }
  std::string_view number = s.substr(start, i - start);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  return parseDecimalNumber(number);
}

// NSString boolValue.
bool scanBool(std::string_view s) {
  std::size_t i = skipSpace(s, 0);
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && s[i] == '0') ++i;
  if (i >= s.size()) return false;
  const char c = s[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

// Reals truncate toward zero; out-of-range values saturate and NaN is 0 (a plain cast would be
// undefined behaviour).
template <typename Int>
Int truncateReal(double d) {
  if (std::isnan(d)) return 0;
  if (d <= static_cast<double>(std::numeric_limits<Int>::min())) {
    return std::numeric_limits<Int>::min();
  }
  if (d >= static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::numeric_limits<Int>::max();
  }
  return static_cast<Int>(d);
}

std::string shortestReal(double d) {
  return shortestDecimalText(d);
}

std::string dateText(Date date) {
  const double seconds = std::floor(date.secondsSinceReferenceDate);
  if (!std::isfinite(seconds) || std::abs(seconds) > 1e15) return shortestReal(seconds);
  const std::time_t unixSeconds =
      static_cast<std::time_t>(static_cast<std::int64_t>(seconds) + kReferenceDateUnixSeconds);
  std::tm parts{};
  if (gmtime_r(&unixSeconds, &parts) == nullptr) return shortestReal(seconds);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &parts);
  return buffer;
}

std::string dataText(const Data& data) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "<";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0 && i % 4 == 0) out += ' ';
    out += kHex[data[i] >> 4];
    out += kHex[data[i] & 0xF];
  }
  out += '>';
  return out;
}

// Inside an array or dictionary description a string is quoted unless it is a plain word.
std::string quotedIfNeeded(const std::string& s) {
  bool plain = !s.empty();
  for (char c : s) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' ||
                      c == '.' || c == '$';
    plain = plain && word;
  }
  if (plain) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

void describe(const Value& value, int level, bool nested, std::string& out) {
  const std::string inner(static_cast<std::size_t>((level + 1) * kDescriptionIndentSpaces), ' ');
  const std::string closing(static_cast<std::size_t>(level * kDescriptionIndentSpaces), ' ');
  if (const Array* array = value.arrayValue()) {
    out += "(\n";
    for (std::size_t i = 0; i < array->size(); ++i) {
      out += inner;
      describe((*array)[i], level + 1, true, out);
      if (i + 1 < array->size()) out += ',';
      out += '\n';
    }
    out += closing;
    out += ')';
  } else if (const Dictionary* dict = value.dictionaryValue()) {
    out += "{\n";
    for (const auto& [key, element] : *dict) {
      out += inner;
      out += quotedIfNeeded(key);
      out += " = ";
      describe(element, level + 1, true, out);
      out += ";\n";
    }
    out += closing;
    out += '}';
  } else if (const std::string* s = value.stringValue(); s != nullptr && nested) {
    out += quotedIfNeeded(*s);
  } else {
    out += value.description();
  }
}

}  // namespace

Value Value::boolean(bool v) {
  return Value(Storage(v));
}
Value Value::integer(std::int64_t v) {
  return Value(Storage(v));
}
Value Value::real(double v) {
  return Value(Storage(v));
}
Value Value::string(std::string v) {
  return Value(Storage(std::move(v)));
}
Value Value::data(Data v) {
  return Value(Storage(std::make_shared<const Data>(std::move(v))));
}
Value Value::date(Date v) {
  return Value(Storage(v));
}
Value Value::array(Array v) {
  return Value(Storage(std::make_shared<const Array>(std::move(v))));
}
Value Value::dictionary(Dictionary v) {
  return Value(Storage(std::make_shared<const Dictionary>(std::move(v))));
}
Value Value::point(CGPoint v) {
  return Value(Storage(v));
}
Value Value::color(CGColor v) {
  return Value(Storage(v));
}

// The alternatives of Storage are listed in the order of Kind.
Value::Kind Value::kind() const {
  return static_cast<Kind>(storage_.index());
}

bool Value::isNumber() const {
  const Kind k = kind();
  return k == Kind::Boolean || k == Kind::Integer || k == Kind::Real;
}

bool Value::boolValue() const {
  if (const bool* b = std::get_if<bool>(&storage_)) return *b;
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return *i != 0;
  if (const double* d = std::get_if<double>(&storage_)) return *d != 0;
  if (const std::string* s = std::get_if<std::string>(&storage_)) return scanBool(*s);
  return false;
}

std::int32_t Value::intValue() const {
  // An integer that does not fit keeps its low 32 bits, as NSNumber intValue does.
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return static_cast<std::int32_t>(*i);
  if (const double* d = std::get_if<double>(&storage_)) return truncateReal<std::int32_t>(*d);
  if (const std::string* s = std::get_if<std::string>(&storage_)) {
    return static_cast<std::int32_t>(scanInteger(*s, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
  }
  return boolValue() ? 1 : 0;
}

std::int64_t Value::longLongValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return *i;
  if (const double* d = std::get_if<double>(&storage_)) return truncateReal<std::int64_t>(*d);
  if (const std::string* s = std::get_if<std::string>(&storage_)) {
    return scanInteger(*s, std::numeric_limits<std::int64_t>::min(),
                       std::numeric_limits<std::int64_t>::max());
  }
  return boolValue() ? 1 : 0;
}

float Value::floatValue() const {
  const double d = doubleValue();
  // Beyond float's range the result is an infinity (a plain cast would be undefined).
  if (std::isfinite(d) && std::abs(d) > static_cast<double>(std::numeric_limits<float>::max())) {
    return d < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(d);
}

double Value::doubleValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return static_cast<double>(*i);
  if (const double* d = std::get_if<double>(&storage_)) return *d;
  if (const std::string* s = std::get_if<std::string>(&storage_)) return scanReal(*s);
  return boolValue() ? 1 : 0;
}

const std::string* Value::stringValue() const {
  return std::get_if<std::string>(&storage_);
}

const Data* Value::dataValue() const {
  const auto* p = std::get_if<std::shared_ptr<const Data>>(&storage_);
  return p ? p->get() : nullptr;
}

std::optional<Date> Value::dateValue() const {
  if (const Date* d = std::get_if<Date>(&storage_)) return *d;
  return std::nullopt;
}

const Array* Value::arrayValue() const {
  const auto* p = std::get_if<std::shared_ptr<const Array>>(&storage_);
  return p ? p->get() : nullptr;
}

const Dictionary* Value::dictionaryValue() const {
  const auto* p = std::get_if<std::shared_ptr<const Dictionary>>(&storage_);
  return p ? p->get() : nullptr;
}

std::optional<CGPoint> Value::pointValue() const {
  if (const CGPoint* p = std::get_if<CGPoint>(&storage_)) return *p;
  return std::nullopt;
}

std::optional<CGColor> Value::colorValue() const {
  if (const CGColor* c = std::get_if<CGColor>(&storage_)) return *c;
  return std::nullopt;
}

std::string Value::description() const {
  switch (kind()) {
    case Kind::Null:
      return "(null)";
    case Kind::Boolean:
      return std::get<bool>(storage_) ? "1" : "0";
    case Kind::Integer:
      return std::to_string(std::get<std::int64_t>(storage_));
    case Kind::Real:
      return shortestReal(std::get<double>(storage_));
    case Kind::String:
      return std::get<std::string>(storage_);
    case Kind::Data:
      return dataText(*dataValue());
    case Kind::Date:
      return dateText(std::get<Date>(storage_));
    case Kind::Array:
    case Kind::Dictionary: {
      std::string out;
      describe(*this, 0, false, out);
      return out;
    }
    case Kind::Point: {
      const CGPoint p = std::get<CGPoint>(storage_);
      return "NSPoint: {" + shortestReal(p.x) + ", " + shortestReal(p.y) + "}";
    }
    case Kind::Color:
      return std::get<CGColor>(storage_).description();
  }
  return {};
}

// Values of different kinds are never equal (an integer 1 is not the real 1.0): a file that
// changes a value's type is a change.
bool operator==(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case Value::Kind::Data:
      return *a.dataValue() == *b.dataValue();
    case Value::Kind::Array:
      return *a.arrayValue() == *b.arrayValue();
    case Value::Kind::Dictionary:
      return *a.dictionaryValue() == *b.dictionaryValue();
    default:
      return a.storage_ == b.storage_;
  }
}

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
  for (const auto& [key, value] : entries) set(key, value);
}

const Value* Dictionary::find(std::string_view key) const {
  if (!index_.empty()) {
    const auto it = index_.find(std::string(key));
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  for (const auto& entry : entries_) {
    if (entry.first == key) return &entry.second;
  }
  return nullptr;
}

Value Dictionary::valueForKey(std::string_view key) const {
  const Value* v = find(key);
  return v ? *v : Value();
}

void Dictionary::set(std::string key, Value value) {
  if (const Value* existing = find(key)) {
    *const_cast<Value*>(existing) = std::move(value);
    return;
  }
  if (!index_.empty()) index_.emplace(key, entries_.size());
  entries_.emplace_back(std::move(key), std::move(value));
  if (index_.empty() && entries_.size() >= kIndexThresholdEntries) rebuildIndex();
}

bool Dictionary::remove(std::string_view key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      entries_.erase(it);
      rebuildIndex();
      return true;
    }
  }
  return false;
}

std::vector<std::string> Dictionary::keys() const {
  std::vector<std::string> out;
  out.reserve(entries_.size());
  for (const auto& entry : entries_) out.push_back(entry.first);
  return out;
}

void Dictionary::rebuildIndex() {
  index_.clear();
  if (entries_.size() < kIndexThresholdEntries) return;
  index_.reserve(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].first, i);
}

}  // namespace Foundation
