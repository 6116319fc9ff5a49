#include "Foundation/NSScanner.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

struct HexScan {
  const char* text;
  std::size_t from;  // scan location set before the scan
  bool found;
  std::uint32_t value;  // kUntouched when nothing is found
  std::size_t location;
};

TEST(NSScannerTest, ScanHexIntReadsDigitsAfterSkippedCharacters) {
  const HexScan cases[] = {
      {"FF", 0, true, 0xFF, 2},
      {"aB9", 0, true, 0xAB9, 3},
      {" \t\n\v\f\r1a", 0, true, 0x1A, 8},
      {"\xE3\x80\x80"
       "7",
       0, true, 7, 2},  // an ideographic space is one unit
      {"\xE2\x80\x8B"
       "7",
       0, false, kUntouched, 0},  // a zero-width space is not skipped
      {"12G4", 0, true, 0x12, 2},
      {"0x1F", 0, true, 0x1F, 4},
      {"0X1f", 0, true, 0x1F, 4},
      {"0x", 0, true, 0, 1},  // the "0" alone, the location left on the "x"
      {"0xG", 0, true, 0, 1},
      {"x1", 0, false, kUntouched, 0},
      {"-1", 0, false, kUntouched, 0},
      {"+1", 0, false, kUntouched, 0},
      {"", 0, false, kUntouched, 0},
      {"  ", 0, false, kUntouched, 0},            // skipped characters alone move nothing
      {"\xEF\xBC\x91", 0, false, kUntouched, 0},  // a full-width digit is no hex digit
      {"FFFFFFFF", 0, true, 0xFFFFFFFF, 8},
      {"100000000", 0, true, 0xFFFFFFFF, 9},  // beyond 32 bits, every digit still read
      {"0x123456789abcdefz", 0, true, 0xFFFFFFFF, 17},
      {"#12", 1, true, 0x12, 3},
      {"\xC3\xA9"
       "12",
       1, true, 0x12, 3},  // two bytes, one unit
      {"\xF0\x9F\x98\x80"
       "12",
       1, false, kUntouched, 1},  // location 1 is the second half of a surrogate pair
      {"\xF0\x9F\x98\x80"
       "12",
       2, true, 0x12, 4},
      {"\xFF"
       "12",
       0, false, kUntouched, 0},  // a malformed byte is one unit that is not skipped
      {"\xFF"
       "12",
       1, true, 0x12, 3},
      {"12", 5, false, kUntouched, 2},  // a location past the end is the end
  };
  for (const HexScan& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" from " << c.from);
    const std::shared_ptr<NSScanner> scanner = NSScanner::scannerWithString(c.text);
    scanner->setScanLocation(c.from);
    std::uint32_t value = kUntouched;
    EXPECT_EQ(scanner->scanHexInt(&value), c.found);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(scanner->scanLocation(), c.location);
  }
}

TEST(NSScannerTest, IsAtEndWhenOnlySkippedCharactersRemain) {
  EXPECT_TRUE(NSScanner::scannerWithString("")->isAtEnd());
  EXPECT_TRUE(NSScanner::scannerWithString(" \n\xC2\xA0")->isAtEnd());
  EXPECT_FALSE(NSScanner::scannerWithString(" \nx")->isAtEnd());
  const std::shared_ptr<NSScanner> scanner = NSScanner::scannerWithString("1F \t");
  std::uint32_t value = 0;
  EXPECT_FALSE(scanner->isAtEnd());
  EXPECT_TRUE(scanner->scanHexInt(&value));
  EXPECT_TRUE(scanner->isAtEnd());
}

TEST(NSScannerTest, SkipsWhiteSpaceAndLineEndsByDefault) {
  const struct {
    char16_t unit;
    bool skipped;
  } cases[] = {
      {0x08, false},   {0x09, true},    {0x0D, true},   {0x0E, false},  {0x1F, false},
      {0x20, true},    {0x21, false},   {0x84, false},  {0x85, true},   {0xA0, true},
      {0x1680, true},  {0x1FFF, false}, {0x2000, true}, {0x200A, true}, {0x200B, false},
      {0x2028, true},  {0x2029, true},  {0x202F, true}, {0x205F, true}, {0x3000, true},
      {0xFEFF, false}, {0xD800, false},
  };
  const NSCharacterSet skipped = NSScanner::scannerWithString("")->charactersToBeSkipped();
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.unit));
    EXPECT_EQ(skipped.characterIsMember(c.unit), c.skipped);
  }
}

}  // namespace
