// The device's translation between the system's values and the property-list nodes its native
// layer turns into Foundation objects: what a preferences file write and read go through.
#include "face/Foundation/PropertyListValues.h"

#include <gtest/gtest.h>

using Foundation::Array;
using Foundation::Date;
using Foundation::Dictionary;
using Foundation::Value;
using gw::native::foundation::PropertyListNode;

namespace {

TEST(DevicePropertyListValuesTest, EveryPropertyListKindComesBackInOrder) {
  const Dictionary entries{
      {"zToggle", Value::boolean(true)},
      {"aSegmented", Value::integer(-3)},
      {"mSlider", Value::real(0.30000001192092896)},
      {"text", Value::string("h\xC3\xA9llo")},
      {"bytes", Value::data({0, 255, 7})},
      {"when", Value::date(Date{-1.5})},
      {"list", Value::array({Value::integer(1), Value::array({}), Value::string("x")})},
      {"nested", Value::dictionary(Dictionary{{"b", Value::real(2)}, {"a", Value::real(1)}})},
  };
  const auto node = gw::device::nodeFromValue(Value::dictionary(entries));
  ASSERT_TRUE(node);
  EXPECT_EQ(node->keys.size(), node->elements.size());
  EXPECT_EQ(gw::device::dictionaryFromNode(*node), entries);
}

TEST(DevicePropertyListValuesTest, NullsAreLeftOutAndPointsAndColoursBecomeDictionaries) {
  const Dictionary entries{
      {"gone", Value()},
      {"list", Value::array({Value(), Value::integer(5), Value()})},
      {"origin", Value::point(CGPoint{150, 420.5})},
      {"tint", Value::color(CGColor(1, 0.5, 0, 0.3))},
      {"kept", Value::boolean(false)},
  };
  const auto node = gw::device::nodeFromValue(Value::dictionary(entries));
  ASSERT_TRUE(node);
  const Dictionary expected{
      {"list", Value::array({Value::integer(5)})},
      {"origin", Value::dictionary(Dictionary{{"x", Value::real(150)}, {"y", Value::real(420.5)}})},
      {"tint", Value::dictionary(Dictionary{{"red", Value::real(1)},
                                            {"green", Value::real(0.5)},
                                            {"blue", Value::real(0)},
                                            {"alpha", Value::real(0.3)}})},
      {"kept", Value::boolean(false)},
  };
  EXPECT_EQ(gw::device::dictionaryFromNode(*node), expected);
  EXPECT_FALSE(gw::device::nodeFromValue(Value()));
}

TEST(DevicePropertyListValuesTest, ANodeThatIsNoDictionaryGivesNoEntries) {
  PropertyListNode array;
  array.kind = PropertyListNode::Kind::Array;
  array.elements.resize(2);
  EXPECT_TRUE(gw::device::dictionaryFromNode(array).empty());
}

}  // namespace
