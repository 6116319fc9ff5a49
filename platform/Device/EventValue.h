// A value in a device event's payload (see DeviceEvent): what the device's stand-ins report
// about what happened, independent of any framework's object model. Besides booleans,
// integers, reals and strings it holds the shapes an emitter passes on from the system's own
// data (a page of settings rows, a preferences dictionary): bytes, dates, lists, nested
// records, points and colours, so that an observer sees the kinds the emitter had. Lists and
// records are shared immutably, so copying a value is cheap.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class EventFields;

class EventValue {
 public:
  enum class Kind { Null, Boolean, Integer, Real, String, Data, Date, List, Record, Point, Colour };
  using Data = std::vector<std::uint8_t>;
  using List = std::vector<EventValue>;
  struct Date {
    double secondsSince2001 = 0;  // since 2001-01-01 00:00:00 UTC
    friend bool operator==(const Date&, const Date&) = default;
  };
  struct Point {
    double x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
  };
  struct Colour {
    double red = 0, green = 0, blue = 0, alpha = 0;  // each 0..1
    friend bool operator==(const Colour&, const Colour&) = default;
  };

  EventValue() = default;  // null: nothing, as a missing field reads
  static EventValue boolean(bool v);
  static EventValue integer(std::int64_t v);
  static EventValue real(double v);
  static EventValue string(std::string v);
  static EventValue data(Data v);
  static EventValue date(Date v);
  static EventValue list(List v);
  static EventValue record(EventFields v);
  static EventValue point(Point v);
  static EventValue colour(Colour v);

  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  bool isNull() const { return kind() == Kind::Null; }

  // Booleans, integers and reals convert among themselves (reals truncate toward zero for
  // integers; a number is true when non-zero); every other kind reads as 0 / false.
  bool boolValue() const;
  std::int64_t integerValue() const;
  double doubleValue() const;

  // Typed access; nullptr / nullopt when the value is of another kind.
  const std::string* stringValue() const;
  const Data* dataValue() const;
  std::optional<Date> dateValue() const;
  const List* listValue() const;
  const EventFields* recordValue() const;
  std::optional<Point> pointValue() const;
  std::optional<Colour> colourValue() const;

  friend bool operator==(const EventValue& a, const EventValue& b);

 private:
  // In the order of Kind.
  using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string,
                               std::shared_ptr<const Data>, Date, std::shared_ptr<const List>,
                               std::shared_ptr<const EventFields>, Point, Colour>;
  explicit EventValue(Storage s) : storage_(std::move(s)) {}
  Storage storage_;
};
