#include "Foundation/PropertyList.h"
#include "UIKit/UIColor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Foundation::Array;
using Foundation::Data;
using Foundation::Date;
using Foundation::Dictionary;
using Foundation::Value;
namespace PropertyList = Foundation::PropertyList;

namespace {

Data bytesOf(std::string_view text) {
  return Data(text.begin(), text.end());
}

std::string xmlPlist(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">" +
         std::string(body) + "</plist>\n";
}

std::string nestedArraysXML(int depth) {
  std::string body;
  for (int i = 0; i < depth; ++i) body += "<array>";
  for (int i = 0; i < depth; ++i) body += "</array>";
  return xmlPlist(body);
}

void appendBigEndian(Data& out, std::uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A binary property list assembled by hand from encoded objects, with 4-byte offsets and
// references: lets tests build shapes no writer would produce.
constexpr int kRefBytes = 4;
Data binaryPlist(const std::vector<Data>& objects, std::uint64_t top = 0) {
  Data out = bytesOf("bplist00");
  std::vector<std::uint64_t> offsets;
  for (const Data& object : objects) {
    offsets.push_back(out.size());
    out.insert(out.end(), object.begin(), object.end());
  }
  const std::uint64_t tableOffset = out.size();
  for (std::uint64_t offset : offsets) appendBigEndian(out, offset, 4);
  out.insert(out.end(), 6, 0);
  out.push_back(4);          // offset size
  out.push_back(kRefBytes);  // reference size
  appendBigEndian(out, objects.size(), 8);
  appendBigEndian(out, top, 8);
  appendBigEndian(out, tableOffset, 8);
  return out;
}

Data arrayObject(const std::vector<std::uint64_t>& refs) {
  Data object{static_cast<std::uint8_t>(0xA0 | refs.size())};
  for (std::uint64_t ref : refs) appendBigEndian(object, ref, kRefBytes);
  return object;
}

Data dictObject(const std::vector<std::uint64_t>& keys, const std::vector<std::uint64_t>& values) {
  Data object{static_cast<std::uint8_t>(0xD0 | keys.size())};
  for (std::uint64_t ref : keys) appendBigEndian(object, ref, kRefBytes);
  for (std::uint64_t ref : values) appendBigEndian(object, ref, kRefBytes);
  return object;
}

Data asciiObject(std::string_view s) {
  Data object{static_cast<std::uint8_t>(0x50 | s.size())};
  for (char c : s) object.push_back(static_cast<std::uint8_t>(c));
  return object;
}

Data intObject(std::uint8_t v) {
  return Data{0x10, v};
}

// Arrays nested `depth` deep, the innermost empty.
Data nestedArraysBinary(int depth) {
  std::vector<Data> objects;
  for (int i = 0; i + 1 < depth; ++i) objects.push_back(arrayObject({std::uint64_t(i + 1)}));
  objects.push_back(arrayObject({}));
  return binaryPlist(objects);
}

TEST(PropertyListTest, ReadsEveryKindFromXMLInFileOrder) {
  const std::string xml = xmlPlist(R"(<dict>
    <key>zeta</key><true/>
    <key>alpha</key><integer>-42</integer>
    <key>mid</key><real>0.25</real>
    <key>str</key><string>a &amp; b “q”</string>
    <key>blob</key><data>AAEC/w==</data>
    <key>when</key><date>2001-01-02T00:00:01Z</date>
    <key>list</key><array><integer>1</integer><string>two</string><array/></array>
    <key>inner</key><dict><key>y</key><false/><key>x</key><integer>9223372036854775807</integer></dict>
    <key>lowest</key><integer>-9223372036854775808</integer>
  </dict>)");
  const std::optional<Dictionary> dict = PropertyList::parseDictionary(bytesOf(xml));
  ASSERT_TRUE(dict);
  EXPECT_EQ(dict->keys(), (std::vector<std::string>{"zeta", "alpha", "mid", "str", "blob", "when",
                                                    "list", "inner", "lowest"}));
  EXPECT_EQ(dict->valueForKey("zeta"), Value::boolean(true));
  EXPECT_EQ(dict->valueForKey("alpha"), Value::integer(-42));
  EXPECT_EQ(dict->valueForKey("mid"), Value::real(0.25));
  EXPECT_EQ(dict->valueForKey("str"), Value::string("a & b “q”"));
  EXPECT_EQ(dict->valueForKey("blob"), Value::data({0x00, 0x01, 0x02, 0xff}));
  EXPECT_EQ(dict->valueForKey("when"), Value::date(Date{86401}));
  EXPECT_EQ(dict->valueForKey("list"),
            Value::array({Value::integer(1), Value::string("two"), Value::array({})}));
  const Dictionary inner{{"y", Value::boolean(false)},
                         {"x", Value::integer(std::numeric_limits<std::int64_t>::max())}};
  EXPECT_EQ(dict->valueForKey("inner"), Value::dictionary(inner));
  EXPECT_EQ(dict->valueForKey("lowest"), Value::integer(std::numeric_limits<std::int64_t>::min()));
}

TEST(PropertyListTest, BinaryRoundTripKeepsValuesAndKeyOrder) {
  Dictionary dict;
  dict.set("b", Value::integer(-7));
  dict.set("a", Value::real(1.0 / 3));
  dict.set("c", Value::string("text"));
  dict.set("flag", Value::boolean(false));
  dict.set("when", Value::date(Date{12.5}));
  dict.set("blob", Value::data({9, 8, 7}));
  dict.set("list", Value::array({Value::string("text"), Value::string("text")}));
  dict.set("nested", Value::dictionary(Dictionary{{"z", Value::integer(1)}, {"y", Value()}}));
  const Data binary = PropertyList::toBinary(Value::dictionary(dict));
  ASSERT_GE(binary.size(), 8u);
  EXPECT_EQ(std::string(binary.begin(), binary.begin() + 8), "bplist00");

  const std::optional<Dictionary> read = PropertyList::parseDictionary(binary);
  ASSERT_TRUE(read);
  dict.set("nested", Value::dictionary(Dictionary{{"z", Value::integer(1)}}));  // null left out
  EXPECT_EQ(*read, dict);
}

TEST(PropertyListTest, HandBuiltBinaryIsReadInFileOrder) {
  // {"b": 1, "a": "x"}
  const Data binary = binaryPlist({dictObject({1, 2}, {3, 4}), asciiObject("b"), asciiObject("a"),
                                   intObject(1), asciiObject("x")});
  const std::optional<Dictionary> dict = PropertyList::parseDictionary(binary);
  ASSERT_TRUE(dict);
  EXPECT_EQ(*dict, (Dictionary{{"b", Value::integer(1)}, {"a", Value::string("x")}}));
}

TEST(PropertyListTest, XMLRoundTripWritesPointsAndColoursAsDictionaries) {
  Dictionary dict;
  dict.set("Origin", Value::point({10.5, -3}));
  dict.set("FABBgColor", Value::color(UIColor::colorWithRed(1, 0.5, 0.25, 1)));
  dict.set("Missing", Value());
  dict.set("Apps", Value::array({Value::string("com.example.app"), Value()}));
  dict.set("Count", Value::integer(-3));
  dict.set("When", Value::date(Date{600000000}));
  const std::string xml = PropertyList::toXML(Value::dictionary(dict));
  EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);

  const std::optional<Dictionary> read = PropertyList::parseDictionary(bytesOf(xml));
  ASSERT_TRUE(read);
  const Dictionary expected{
      {"Origin", Value::dictionary(Dictionary{{"x", Value::real(10.5)}, {"y", Value::real(-3)}})},
      {"FABBgColor", Value::dictionary(Dictionary{{"red", Value::real(1)},
                                                  {"green", Value::real(0.5)},
                                                  {"blue", Value::real(0.25)},
                                                  {"alpha", Value::real(1)}})},
      {"Apps", Value::array({Value::string("com.example.app")})},
      {"Count", Value::integer(-3)},
      {"When", Value::date(Date{600000000})},
  };
  EXPECT_EQ(*read, expected);
}

TEST(PropertyListTest, MalformedInputYieldsNothing) {
  const Data valid =
      PropertyList::toBinary(Value::dictionary(Dictionary{{"k", Value::integer(1)}}));
  Data truncated(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(valid.size() / 2));
  Data badTop = valid;
  badTop[badTop.size() - 9] = 0x7f;  // top object far beyond the object count
  const struct {
    const char* name;
    Data bytes;
  } cases[] = {
      {"empty", {}},
      {"text", bytesOf("not a property list")},
      {"key without value", bytesOf(xmlPlist("<dict><key>a</key><key>b</key><true/></dict>"))},
      {"value without key", bytesOf(xmlPlist("<dict><true/></dict>"))},
      {"mismatched tags", bytesOf(xmlPlist("<array></dict>"))},
      {"unterminated", bytesOf("<plist><dict><key>a</key><string>x")},
      {"unknown element", bytesOf(xmlPlist("<array><foo/></array>"))},
      {"binary magic only", bytesOf("bplist00")},
      {"binary zeros",
       [] {
         Data d = bytesOf("bplist00");
         d.resize(48, 0);
         return d;
       }()},
      {"truncated binary", truncated},
      {"binary with bad top object", badTop},
      {"binary reference out of range", binaryPlist({arrayObject({5})})},
      {"binary cycle", binaryPlist({arrayObject({1}), arrayObject({0})})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(PropertyList::parse(c.bytes));
    EXPECT_FALSE(PropertyList::parseDictionary(c.bytes));
  }
}

TEST(PropertyListTest, OnlyADictionaryRootIsADictionary) {
  const Data xmlArray = bytesOf(xmlPlist("<array><integer>1</integer></array>"));
  const Data binaryString = binaryPlist({asciiObject("hello")});
  EXPECT_EQ(PropertyList::parse(xmlArray), Value::array({Value::integer(1)}));
  EXPECT_EQ(PropertyList::parse(binaryString), Value::string("hello"));
  EXPECT_FALSE(PropertyList::parseDictionary(xmlArray));
  EXPECT_FALSE(PropertyList::parseDictionary(binaryString));
}

TEST(PropertyListTest, NestingIsAcceptedUpToTheLimitAndRefusedBeyond) {
  const int limit = PropertyList::kMaxNestingDepth;
  EXPECT_TRUE(PropertyList::parse(bytesOf(nestedArraysXML(limit))));
  EXPECT_FALSE(PropertyList::parse(bytesOf(nestedArraysXML(limit + 1))));
  EXPECT_TRUE(PropertyList::parse(nestedArraysBinary(limit)));
  EXPECT_FALSE(PropertyList::parse(nestedArraysBinary(limit + 1)));
}

// Input like this overflows the parser's stack if it ever reaches it.
TEST(PropertyListTest, HostileDepthIsRefusedWithoutCrashing) {
  constexpr int kHostileDepth = 60000;
  EXPECT_FALSE(PropertyList::parse(bytesOf(nestedArraysXML(kHostileDepth))));
  EXPECT_FALSE(PropertyList::parse(nestedArraysBinary(kHostileDepth)));

  // Dictionaries, unclosed tags and comments hiding closing tags count the same.
  std::string dicts;
  for (int i = 0; i < kHostileDepth; ++i) dicts += "<dict><key>k</key>";
  EXPECT_FALSE(PropertyList::parseDictionary(bytesOf(xmlPlist(dicts))));
  std::string commented;
  for (int i = 0; i < kHostileDepth; ++i) commented += "<array ><!-- </array> -->";
  EXPECT_FALSE(PropertyList::parse(bytesOf(xmlPlist(commented))));

  // A single quote opens no attribute value for the parser: the '>' after it ends the tag,
  // and the arrays after it nest. Unclosed, the partial tree is freed level by level.
  constexpr int kBeyondTheStack = 200000;
  std::string quoted = "<plist><array x='>";
  for (int i = 0; i < kBeyondTheStack; ++i) quoted += "<array>";
  EXPECT_FALSE(PropertyList::parse(bytesOf(quoted)));
}

// Each level references the next one twice: a few hundred bytes that would expand into 2^60
// nodes.
TEST(PropertyListTest, SharedReferencesCannotExplode) {
  constexpr int kLevels = 60;
  std::vector<Data> objects;
  for (int i = 0; i < kLevels; ++i) {
    objects.push_back(arrayObject({std::uint64_t(i + 1), std::uint64_t(i + 1)}));
  }
  objects.push_back(intObject(1));
  EXPECT_FALSE(PropertyList::parse(binaryPlist(objects)));

  // Modest sharing, as a writer that merges equal values produces, is fine.
  const Data shared = binaryPlist({arrayObject({1, 1, 1}), asciiObject("same")});
  EXPECT_EQ(PropertyList::parse(shared),
            Value::array({Value::string("same"), Value::string("same"), Value::string("same")}));
}

Data utf16Object(const std::u16string& s) {
  Data object{static_cast<std::uint8_t>(0x60 | s.size())};
  for (char16_t c : s) appendBigEndian(object, c, 2);
  return object;
}

// The parser hands keys out as C strings and aborts on one holding a NUL; such files are
// refused before it sees them.
TEST(PropertyListTest, BinaryKeysMustBeStringsWithoutNul) {
  const struct {
    const char* name;
    Data key;
    bool accepted;
  } cases[] = {
      {"ASCII key", asciiObject("key"), true},
      {"UTF-16 key", utf16Object(u"k\u00e9y"), true},
      {"ASCII key holding NUL", asciiObject(std::string_view("a\0b", 3)), false},
      {"UTF-16 key holding U+0000", utf16Object(std::u16string(u"a\0b", 3)), false},
      {"integer key", intObject(7), false},
      {"ASCII key running past the objects", Data{0x5E, 'a', 'b'}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Data bytes = binaryPlist({dictObject({1}, {2}), c.key, asciiObject("v")});
    EXPECT_EQ(PropertyList::parseDictionary(bytes).has_value(), c.accepted);
  }
}

// libplist cuts strings at a NUL (and drops unpaired UTF-16 surrogates): a file holding such
// a string is not read as something else, and no such string is written cut short.
TEST(PropertyListTest, StringsLibplistWouldChangeAreNeitherReadNorWritten) {
  const struct {
    const char* name;
    Data value;
    bool accepted;
  } binaryCases[] = {
      {"ASCII", asciiObject("ab"), true},
      {"UTF-16 with a surrogate pair", utf16Object(u"a\U0001F600"), true},
      {"ASCII holding NUL", asciiObject(std::string_view("a\0b", 3)), false},
      {"UTF-16 holding U+0000", utf16Object(std::u16string(u"a\0b", 3)), false},
      {"UTF-16 lone lead surrogate", utf16Object(std::u16string(1, char16_t(0xD83D))), false},
      {"UTF-16 lone trail surrogate", utf16Object(std::u16string(u"a") + char16_t(0xDE00)), false},
  };
  for (const auto& c : binaryCases) {
    SCOPED_TRACE(c.name);
    const Data asValue = binaryPlist({dictObject({1}, {2}), asciiObject("k"), c.value});
    const Data inArray = binaryPlist({arrayObject({1}), c.value});
    EXPECT_EQ(PropertyList::parseDictionary(asValue).has_value(), c.accepted);
    EXPECT_EQ(PropertyList::parse(inArray).has_value(), c.accepted);
    EXPECT_EQ(PropertyList::parse(binaryPlist({c.value})).has_value(), c.accepted);
  }
  std::string rawNul = "<plist><dict><key>k</key><string>a";
  rawNul += '\0';
  rawNul += "b</string></dict></plist>";
  EXPECT_FALSE(PropertyList::parseDictionary(bytesOf(rawNul)));

  const Value nul = Value::string(std::string("a\0b", 3));
  for (const Value& value : {nul, Value::dictionary({{"k", nul}}), Value::array({nul})}) {
    EXPECT_TRUE(PropertyList::toXML(value).empty());
    EXPECT_TRUE(PropertyList::toBinary(value).empty());
  }
}

// libplist hands dates out as 32-bit seconds (1932-12-13 for anything beyond) and unsigned
// microseconds: far from 2001, or a fraction before it, they must still come back exactly.
// XML holds whole seconds only; a date it would change is not written in XML.
TEST(PropertyListTest, DatesComeBackExactlyOrAreNotWritten) {
  const struct {
    const char* name;
    double seconds;
    bool inXML;
  } cases[] = {
      {"1800", -6342969600.0, true},
      {"2100", 3124137600.0, true},
      {"4000", 63082281600.0, true},
      {"half a second before 2001", -0.5, false},
      {"1800 and a quarter second", -6342969600.25, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Dictionary dict{{"when", Value::date(Date{c.seconds})}};
    EXPECT_EQ(PropertyList::parseDictionary(PropertyList::toBinary(Value::dictionary(dict))), dict);
    const std::string xml = PropertyList::toXML(Value::dictionary(dict));
    EXPECT_EQ(xml.empty(), !c.inXML);
    if (c.inXML) {
      EXPECT_EQ(PropertyList::parseDictionary(bytesOf(xml)), dict);
    }
  }
  const std::string written = xmlPlist(
      "<array><date>1800-01-01T00:00:00Z</date>"
      "<date>4000-01-01T00:00:00Z</date></array>");
  EXPECT_EQ(PropertyList::parse(bytesOf(written)),
            Value::array({Value::date(Date{-6342969600.0}), Value::date(Date{63082281600.0})}));
}

TEST(PropertyListTest, OversizedInputIsRefused) {
  const std::string small = xmlPlist("<dict/>");
  ASSERT_TRUE(PropertyList::parseDictionary(bytesOf(small)));
  Data huge = bytesOf(small);
  huge.resize(PropertyList::kMaxFileBytes + 1, ' ');
  EXPECT_FALSE(PropertyList::parseDictionary(huge));
}

TEST(PropertyListTest, WritersRefuseWhatTheyCannotWriteFaithfully) {
  Value deep = Value::integer(1);
  for (int i = 0; i < PropertyList::kMaxNestingDepth + 1; ++i) deep = Value::array({deep});
  // Cut at its NUL, the second key would overwrite the first entry.
  const Value nulKey =
      Value::dictionary({{"pToggleIsEnabled", Value::boolean(true)},
                         {std::string("pToggleIsEnabled\0x", 18), Value::boolean(false)}});
  const Value nestedNulKey =
      Value::array({Value::dictionary({{std::string("\0", 1), Value::integer(1)}})});
  for (const Value& value : {deep, nulKey, nestedNulKey}) {
    EXPECT_TRUE(PropertyList::toXML(value).empty());
    EXPECT_TRUE(PropertyList::toBinary(value).empty());
  }
}

}  // namespace
