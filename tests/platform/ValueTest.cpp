#include "Foundation/Value.h"
#include "UIKit/UIColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Foundation::Array;
using Foundation::Date;
using Foundation::Dictionary;
using Foundation::Value;

namespace {

struct StringConversion {
  const char* text;
  std::int32_t intValue;
  std::int64_t longLongValue;
  double doubleValue;
  bool boolValue;
};

TEST(ValueTest, StringsConvertLikeNSString) {
  constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kLongMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kLongMin = std::numeric_limits<std::int64_t>::min();
  const StringConversion cases[] = {
      {"42", 42, 42, 42, true},
      {"  \t\n-17xyz", -17, -17, -17, true},
      {"+8", 8, 8, 8, true},
      {"abc", 0, 0, 0, false},
      {"", 0, 0, 0, false},
      {"-", 0, 0, 0, false},
      {"0", 0, 0, 0, false},
      {"000", 0, 0, 0, false},
      {"-0001", -1, -1, -1, true},
      {"3.75", 3, 3, 3.75, true},
      {" .5", 0, 0, 0.5, false},
      {"1e3", 1, 1, 1000, true},
      {"2.5e-1x", 2, 2, 0.25, true},
      {"7e", 7, 7, 7, true},
      {"99999999999", kIntMax, 99999999999, 99999999999, true},
      {"-99999999999", kIntMin, -99999999999, -99999999999, true},
      {"2147483647", kIntMax, 2147483647, 2147483647, true},
      {"-2147483648", kIntMin, -2147483648LL, -2147483648.0, true},
      {"99999999999999999999", kIntMax, kLongMax, 1e20, true},
      {"-99999999999999999999", kIntMin, kLongMin, -1e20, true},
      {"YES", 0, 0, 0, true},
      {"yes", 0, 0, 0, true},
      {"true", 0, 0, 0, true},
      {"T", 0, 0, 0, true},
      {"NO", 0, 0, 0, false},
      {"false", 0, 0, 0, false},
      {"  -0y", 0, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Value v = Value::string(c.text);
    EXPECT_EQ(v.intValue(), c.intValue);
    EXPECT_EQ(v.longLongValue(), c.longLongValue);
    EXPECT_DOUBLE_EQ(v.doubleValue(), c.doubleValue);
    EXPECT_FLOAT_EQ(v.floatValue(), static_cast<float>(c.doubleValue));
    EXPECT_EQ(v.boolValue(), c.boolValue);
  }
}

TEST(ValueTest, NumbersConvertAmongThemselves) {
  EXPECT_EQ(Value::real(2.9).intValue(), 2);
  EXPECT_EQ(Value::real(-2.9).intValue(), -2);
  EXPECT_EQ(Value::real(-2.9).longLongValue(), -2);
  EXPECT_TRUE(Value::real(0.1).boolValue());
  EXPECT_FALSE(Value::real(0.0).boolValue());
  EXPECT_EQ(Value::boolean(true).intValue(), 1);
  EXPECT_DOUBLE_EQ(Value::boolean(true).doubleValue(), 1.0);
  EXPECT_FALSE(Value::integer(0).boolValue());
  EXPECT_TRUE(Value::integer(-3).boolValue());
  EXPECT_DOUBLE_EQ(Value::integer(-3).doubleValue(), -3.0);
  EXPECT_FLOAT_EQ(Value::integer(7).floatValue(), 7.0f);
  // An integer that does not fit in 32 bits keeps its low bits, as NSNumber does.
  EXPECT_EQ(Value::integer((std::int64_t{1} << 32) + 5).intValue(), 5);
  // Out-of-range reals saturate instead of invoking undefined behaviour.
  EXPECT_EQ(Value::real(1e30).intValue(), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(Value::real(-1e30).longLongValue(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(Value::real(std::nan("")).intValue(), 0);
  EXPECT_TRUE(std::isinf(Value::real(1e300).floatValue()));
}

TEST(ValueTest, OtherKindsConvertToZero) {
  const Value others[] = {Value(),
                          Value::data({1, 2}),
                          Value::date(Date{5}),
                          Value::array({Value::integer(1)}),
                          Value::dictionary(Dictionary{{"a", Value::integer(1)}}),
                          Value::point({3, 4}),
                          Value::color(UIColor::whiteColor())};
  for (const Value& v : others) {
    SCOPED_TRACE(v.description());
    EXPECT_FALSE(v.isNumber());
    EXPECT_EQ(v.intValue(), 0);
    EXPECT_EQ(v.longLongValue(), 0);
    EXPECT_EQ(v.doubleValue(), 0);
    EXPECT_FALSE(v.boolValue());
  }
}

TEST(ValueTest, DescriptionsFollowNSObject) {
  Dictionary dict;
  dict.set("name", Value::string("a b"));
  dict.set("list", Value::array({Value::integer(1), Value::string("plain")}));
  const struct {
    Value value;
    const char* text;
  } cases[] = {
      {Value(), "(null)"},
      {Value::boolean(true), "1"},
      {Value::boolean(false), "0"},
      {Value::integer(-42), "-42"},
      {Value::real(0.5), "0.5"},
      {Value::real(2.0), "2"},
      {Value::real(0.1), "0.1"},
      {Value::string("as it is"), "as it is"},
      {Value::data({0x00, 0x01, 0xab, 0xff, 0x10}), "<0001abff 10>"},
      {Value::date(Date{0}), "2001-01-01 00:00:00 +0000"},
      {Value::date(Date{86400.75}), "2001-01-02 00:00:00 +0000"},
      {Value::array({}), "(\n)"},
      {Value::array({Value::integer(1), Value::integer(2)}), "(\n    1,\n    2\n)"},
      {Value::array({Value::array({Value::integer(1)})}), "(\n    (\n        1\n    )\n)"},
      {Value::dictionary(Dictionary{}), "{\n}"},
      {Value::dictionary(dict),
       "{\n    name = \"a b\";\n    list = (\n        1,\n        plain\n    );\n}"},
      {Value::point({1, 2.5}), "NSPoint: {1, 2.5}"},
      {Value::color(UIColor::colorWithRed(1, 0.5, 0, 1)), "UIExtendedSRGBColorSpace 1 0.5 0 1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.description(), c.text);
}

TEST(ValueTest, EqualityIsDeepAndKindSensitive) {
  EXPECT_EQ(Value::array({Value::string("a"), Value::data({1})}),
            Value::array({Value::string("a"), Value::data({1})}));
  EXPECT_NE(Value::array({Value::data({1})}), Value::array({Value::data({2})}));
  EXPECT_NE(Value::integer(1), Value::real(1.0));
  EXPECT_NE(Value::integer(1), Value::boolean(true));
  EXPECT_EQ(Value(), Value());
  EXPECT_EQ(Value::dictionary(Dictionary{{"k", Value::integer(1)}}),
            Value::dictionary(Dictionary{{"k", Value::integer(1)}}));
  // Dictionaries keep order, and order is part of equality.
  EXPECT_NE((Dictionary{{"a", Value()}, {"b", Value()}}),
            (Dictionary{{"b", Value()}, {"a", Value()}}));
}

TEST(DictionaryTest, KeepsInsertionOrderAndReplacesInPlace) {
  Dictionary d{{"z", Value::integer(1)}, {"a", Value::integer(2)}, {"m", Value::integer(3)}};
  d.set("a", Value::string("again"));
  EXPECT_EQ(d.keys(), (std::vector<std::string>{"z", "a", "m"}));
  EXPECT_EQ(d.valueForKey("a"), Value::string("again"));
  EXPECT_TRUE(d.valueForKey("missing").isNull());
  EXPECT_TRUE(d.remove("z"));
  EXPECT_FALSE(d.remove("z"));
  EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "m"}));
  // Duplicates in an initialiser list keep the first position and the last value.
  const Dictionary dup{{"k", Value::integer(1)}, {"j", Value()}, {"k", Value::integer(2)}};
  EXPECT_EQ(dup.keys(), (std::vector<std::string>{"k", "j"}));
  EXPECT_EQ(dup.valueForKey("k"), Value::integer(2));
}

// Large dictionaries are indexed; the index must follow every change.
TEST(DictionaryTest, LargeDictionaryStaysConsistentThroughChanges) {
  constexpr int kKeys = 500;
  Dictionary d;
  for (int i = 0; i < kKeys; ++i) d.set("k" + std::to_string(i), Value::integer(i));
  ASSERT_EQ(d.size(), static_cast<std::size_t>(kKeys));
  d.set("k250", Value::integer(-1));
  EXPECT_EQ(d.size(), static_cast<std::size_t>(kKeys));
  EXPECT_EQ(d.keys()[250], "k250");
  EXPECT_TRUE(d.remove("k10"));
  EXPECT_FALSE(d.contains("k10"));
  for (int i = 0; i < kKeys; ++i) {
    if (i == 10) continue;
    const Value* v = d.find("k" + std::to_string(i));
    ASSERT_NE(v, nullptr) << i;
    EXPECT_EQ(v->longLongValue(), i == 250 ? -1 : i);
  }
  d.set("k10", Value::integer(10));
  EXPECT_EQ(d.keys().back(), "k10");
  EXPECT_EQ(d.valueForKey("k10"), Value::integer(10));

  // Shrinking below the indexing size and clearing still answer correctly.
  for (int i = 0; i < kKeys - 3; ++i) d.remove("k" + std::to_string(i));
  EXPECT_EQ(d.keys(), (std::vector<std::string>{"k497", "k498", "k499"}));
  EXPECT_EQ(d.valueForKey("k499"), Value::integer(499));
  d.clear();
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(d.find("k499"), nullptr);
  d.set("fresh", Value::boolean(true));
  EXPECT_EQ(d.keys(), (std::vector<std::string>{"fresh"}));
}

}  // namespace
