#include "Foundation/XMLTreeShape.h"

#include <gtest/gtest.h>

#include <string>

namespace PropertyList = Foundation::PropertyList;

namespace {

std::string repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Each row: text and the container depth of the tree libplist 2.2 builds from it, the partial
// tree of text it gives up on included (that one is freed by recursion too).
TEST(XMLTreeShapeTest, DepthFollowsLibplistsTokeniser) {
  const struct {
    const char* name;
    std::string text;
    int depth;
  } cases[] = {
      {"nested arrays", "<plist><array><array/></array></plist>", 2},
      {"a single quote guards nothing", "<plist><array x='>" + repeated("<array>", 3), 4},
      {"a double quote guards '>'", "<plist><array x=\">" + repeated("<array>", 3), 0},
      {"a closed double quote", "<plist><array x=\"'>\">" + repeated("<array>", 3), 4},
      {"comment between elements", "<plist><array><!-- <array><array> --><array/></array></plist>",
       2},
      {"comment inside text",
       "<plist><array><string>a<!-- </string><array> -->b</string>"
       "<array/></array></plist>",
       2},
      {"CDATA inside text",
       "<plist><array><string><![CDATA[</string><array><array>]]></string></array></plist>", 1},
      {"quoted end inside a processing instruction",
       "<?pi \"?><array><array>\" ?><plist><array/></plist>", 1},
      {"quoted end inside a DOCTYPE subset",
       "<!DOCTYPE p [ <!ENTITY e \"]>\"> ]><plist><array><array/></array></plist>", 2},
      {"closing the root ends the tree",
       "<plist><array></array><array><array></array></array></plist>", 1},
      {"an empty root still takes values", "<plist><array/><array><array/></array></plist>", 3},
      {"a NUL ends a tag name", std::string("<plist><array\0x><array>", 23), 2},
      {"an unknown element stops the parse", "<plist><array><foo><array><array>", 1},
      {"markup inside text stops the parse", "<plist><array><string><array><array></string>", 1},
      {"a scalar root is the whole tree", "<plist><string>x</string><array><array>", 0},
      {"a key inside an array is a string",
       "<plist><dict><key>a</key><array><key>b</key><array/></array></dict></plist>", 3},
      {"a dictionary value without a key stops the parse", "<plist><dict><array><array>", 1},
      {"a second plist element ends the input", "<plist><array/></plist><plist><array><array>", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PropertyList::measureXMLTree(c.text, 100, 1000).depth, c.depth);
  }
}

TEST(XMLTreeShapeTest, StopsOnceALimitIsPassed) {
  const std::string deep = "<plist>" + repeated("<array>", 50);
  EXPECT_EQ(PropertyList::measureXMLTree(deep, 50, 1000).depth, 50);
  EXPECT_EQ(PropertyList::measureXMLTree(deep, 10, 1000).depth, 11);
  const std::string wide = "<plist><array>" + repeated("<true/>", 50) + "</array></plist>";
  EXPECT_EQ(PropertyList::measureXMLTree(wide, 10, 1000).nodes, 51u);
  EXPECT_EQ(PropertyList::measureXMLTree(wide, 10, 20).nodes, 21u);
}

}  // namespace
