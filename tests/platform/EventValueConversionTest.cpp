// What a stand-in reports in a device event comes out as the emitter had it: every
// property-list kind survives the way into an event's payload and back, so that the timeline
// (which shows payloads in Foundation's terms) tells an integer from a real, a colour from a
// list of four numbers, and keeps the order of the entries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "Foundation/EventValueConversion.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;

TEST(EventValueConversionTest, EveryKindComesBackAsItWentIn) {
  const Value values[] = {
      Value(),
      Value::boolean(true),
      Value::integer(-9007199254740993),  // not a double
      Value::real(0.1),
      Value::real(2),
      Value::string("com.example.reader"),
      Value::data({0, 1, 255}),
      Value::date({-1.5}),
      Value::point(CGPointMake(62.2, 266.3)),
      Value::color(CGColor(1, 0.5843137254901961, 0, 1)),
      Value::array({Value::string("a"), Value::integer(1), Value::array({})}),
      Value::dictionary(Dictionary{{"z", Value::integer(1)},
                                   {"a", Value::dictionary({{"row", Value::string("x")}})}}),
  };
  for (const Value& value : values) {
    const EventValue event = Foundation::toEventValue(value);
    EXPECT_EQ(Foundation::fromEventValue(event), value) << value.description();
    EXPECT_EQ(static_cast<int>(event.kind()), static_cast<int>(value.kind()))
        << value.description();
  }
  const Dictionary entries{{"ButtonSize", Value::integer(3)}, {"Origin", Value::point({50, 147})}};
  const EventFields fields = Foundation::toEventFields(entries);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields.begin()->first, "ButtonSize");
  EXPECT_EQ(Foundation::fromEventFields(fields), entries);
}

TEST(EventValueConversionTest, NumbersConvertAmongThemselvesAndOtherKindsReadAsNothing) {
  EXPECT_EQ(EventValue::real(-2.9).integerValue(), -2);
  EXPECT_EQ(EventValue::real(1e300).integerValue(), INT64_MAX);
  EXPECT_EQ(EventValue::real(std::nan("")).integerValue(), 0);
  EXPECT_TRUE(EventValue::integer(2).boolValue());
  EXPECT_DOUBLE_EQ(EventValue::boolean(true).doubleValue(), 1);
  EXPECT_FALSE(EventValue::string("1").boolValue());
  EXPECT_EQ(EventValue::string("1").doubleValue(), 0);
  EXPECT_EQ(EventFields{}.value("missing"), EventValue());
}

}  // namespace
