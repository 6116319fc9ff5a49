// The Foundation object model the system's code sees: a value that is one of the property-list
// kinds (boolean, 64-bit integer, real, string, data, date, array, dictionary) or one of the two
// boxed values that travel in the in-process preferences dictionary (a point made by
// NSValue valueWithCGPoint:, a colour). Arrays and dictionaries are shared immutably, so
// copying a Value is cheap.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGGeometry.h"

namespace Foundation {

class Value;
class Dictionary;
using Array = std::vector<Value>;
using Data = std::vector<std::uint8_t>;

// Seconds since 2001-01-01 00:00:00 UTC, as NSDate counts.
struct Date {
  double secondsSinceReferenceDate = 0;
  friend bool operator==(const Date&, const Date&) = default;
};

class Value {
 public:
  enum class Kind {
    Null,
    Boolean,
    Integer,
    Real,
    String,
    Data,
    Date,
    Array,
    Dictionary,
    Point,
    Color
  };

  Value() = default;  // null: "nothing", as a missing entry reads
  static Value boolean(bool v);
  static Value integer(std::int64_t v);
  static Value real(double v);
  static Value string(std::string v);
  static Value data(Data v);
  static Value date(Date v);
  static Value array(Array v);
  static Value dictionary(Dictionary v);
  static Value point(CGPoint v);
  static Value color(CGColor v);

  Kind kind() const;
  bool isNull() const { return kind() == Kind::Null; }
  bool isNumber() const;  // Boolean, Integer or Real: what NSNumber holds
  bool isString() const { return kind() == Kind::String; }
  bool isArray() const { return kind() == Kind::Array; }
  bool isDictionary() const { return kind() == Kind::Dictionary; }

  // NSNumber / NSString conversions. Numbers convert among themselves (reals truncate toward
  // zero for integers; a number is true when non-zero). Strings follow NSString: intValue and
  // floatValue read the leading decimal number after white space (0 when there is none),
  // boolValue is true when the first non-space character after an optional sign and zeros is
  // Y, y, T, t or a digit 1-9. Every other kind converts to 0 / false.
  bool boolValue() const;
  std::int32_t intValue() const;  // saturates like NSString intValue for strings
  std::int64_t longLongValue() const;
  float floatValue() const;
  double doubleValue() const;

  // Typed access; nullptr / nullopt when the value is of another kind.
  const std::string* stringValue() const;
  const Data* dataValue() const;
  std::optional<Date> dateValue() const;
  const Array* arrayValue() const;
  const Dictionary* dictionaryValue() const;
  std::optional<CGPoint> pointValue() const;
  std::optional<CGColor> colorValue() const;

  // The text NSObject description gives: numbers in shortest decimal form ("1", "0.5"),
  // strings as they are, arrays "(\n    a,\n    b\n)", dictionaries "{\n    k = v;\n}",
  // points "NSPoint: {x, y}", colours as CGColor::description().
  std::string description() const;

  friend bool operator==(const Value& a, const Value& b);

 private:
  using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string,
                               std::shared_ptr<const Data>, Date, std::shared_ptr<const Array>,
                               std::shared_ptr<const Dictionary>, CGPoint, CGColor>;
  explicit Value(Storage s) : storage_(std::move(s)) {}
  Storage storage_;
};

// A dictionary with string keys that keeps its keys in insertion order (the order in which a
// file lists them). Setting an existing key replaces its value in place.
class Dictionary {
 public:
  using Entry = std::pair<std::string, Value>;

  Dictionary() = default;
  Dictionary(std::initializer_list<Entry> entries);

  const Value* find(std::string_view key) const;  // nullptr when absent
  Value valueForKey(std::string_view key) const;  // null Value when absent
  bool contains(std::string_view key) const { return find(key) != nullptr; }
  void set(std::string key, Value value);
  bool remove(std::string_view key);
  void clear() {
    entries_.clear();
    index_.clear();
  }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  std::vector<std::string> keys() const;
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

  // Equal when both hold the same keys with equal values in the same order.
  friend bool operator==(const Dictionary& a, const Dictionary& b) {
    return a.entries_ == b.entries_;
  }

 private:
  void rebuildIndex();
  std::vector<Entry> entries_;
  // Key -> position in entries_, kept only for large dictionaries (a file may list very many
  // keys; without it reading one would take quadratic time).
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace Foundation
