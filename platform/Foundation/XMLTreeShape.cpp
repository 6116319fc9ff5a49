#include "Foundation/XMLTreeShape.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace Foundation::PropertyList {

namespace {

// The reader's position in the text and the moves its tokeniser makes. Each move mirrors one
// of libplist's (find_char, find_str, find_next, parse_skip_ws, get_text_parts) including
// where it leaves the position when it fails; a failure of the whole parse is a false return.
struct Cursor {
  std::string_view text;
  std::size_t pos = 0;

  std::size_t end() const { return text.size(); }
  char at(std::size_t i) const { return text[i]; }
  // `literal` holds no NUL, so libplist's strncmp is a plain comparison here.
  bool startsWith(std::size_t i, std::string_view literal) const {
    return text.size() - i >= literal.size() && text.compare(i, literal.size(), literal) == 0;
  }

  void skipWhitespace() {
    while (pos < end() &&
           (at(pos) == ' ' || at(pos) == '\t' || at(pos) == '\r' || at(pos) == '\n')) {
      ++pos;
    }
  }

  // To the next `c`; with `skipQuotes`, a double-quoted run is stepped over whole.
  void findChar(char c, bool skipQuotes) {
    while (pos < end() && at(pos) != c) {
      if (skipQuotes && c != '"' && at(pos) == '"') {
        ++pos;
        findChar('"', false);
        if (pos >= end()) return;
      }
      ++pos;
    }
  }

  // To the next `literal`, which is not looked for in the last literal.size() bytes (libplist
  // stops its search there and then tests the position it reached).
  void findLiteral(std::string_view literal, bool skipQuotes) {
    while (pos + literal.size() < end()) {
      if (startsWith(pos, literal)) break;
      if (skipQuotes && at(pos) == '"') {
        ++pos;
        findChar('"', false);
        if (pos >= end()) return;
      }
      ++pos;
    }
  }

  // To the next byte that is one of `stops`.
  void findAnyOf(std::string_view stops, bool skipQuotes) {
    while (pos < end()) {
      if (skipQuotes && at(pos) == '"') {
        ++pos;
        findChar('"', false);
        if (pos >= end()) return;
      }
      if (stops.find(at(pos)) != std::string_view::npos) return;
      ++pos;
    }
  }

  // Past `literal` found by findLiteral, or false.
  bool passLiteral(std::string_view literal, bool skipQuotes) {
    findLiteral(literal, skipQuotes);
    if (pos + literal.size() > end() || !startsWith(pos, literal)) return false;
    pos += literal.size();
    return true;
  }

  // strncmp(text + pos, tag, length) == 0, where `tag` is the tag name as libplist copied it
  // with strncpy: its bytes up to the first NUL, then NULs to `length`.
  bool matchesClosingName(std::string_view name, std::size_t length) const {
    for (std::size_t i = 0; i < length; ++i) {
      const char expected = i < name.size() ? name[i] : '\0';
      if (at(pos + i) != expected) return false;
      if (expected == '\0') return true;
    }
    return true;
  }

  // The text of a leaf element up to and past its closing tag. Comments and CDATA sections
  // may stand in the text; any other markup there fails the parse. `name` and `rawLength` are
  // the opening tag's name and the length of the bytes it was copied from.
  bool passLeafText(std::string_view name, std::size_t rawLength, bool skipLeadingWhitespace) {
    if (skipLeadingWhitespace) skipWhitespace();
    while (true) {
      findChar('<', false);
      if (pos >= end() || at(pos) != '<') return false;
      ++pos;
      if (pos >= end()) return false;
      if (at(pos) == '/') break;
      if (at(pos) != '!') return false;
      ++pos;
      if (pos + 1 >= end()) return false;
      if (at(pos) == '-' && at(pos + 1) == '-') {
        pos += 2;
        if (!passLiteral("-->", false)) return false;
      } else if (at(pos) == '[') {
        ++pos;
        if (pos + 8 >= end() || !startsWith(pos, "CDATA[")) return false;
        pos += 6;
        if (!passLiteral("]]>", false)) return false;
      } else {
        return false;
      }
    }
    ++pos;
    if (pos + rawLength >= end() || !matchesClosingName(name, rawLength)) return false;
    pos += rawLength;
    skipWhitespace();
    if (pos >= end() || at(pos) != '>') return false;
    ++pos;
    return true;
  }

  // Past a DOCTYPE declaration, `pos` on the "DOCTYPE" after "<!".
  bool passDoctype() {
    pos += 8;
    bool internalSubset = false;
    while (pos < end()) {
      findAnyOf(" \t\r\n[>", true);
      if (pos >= end()) return false;
      if (at(pos) == '[') {
        internalSubset = true;
        break;
      }
      if (at(pos) == '>') {
        ++pos;
        break;
      }
      skipWhitespace();
    }
    return !internalSubset || passLiteral("]>", true);
  }
};

enum class Element { Plist, Dict, Array };

constexpr std::string_view nameOf(Element element) {
  switch (element) {
    case Element::Plist:
      return "plist";
    case Element::Dict:
      return "dict";
    case Element::Array:
      return "array";
  }
  return {};
}

bool isLeafWithText(std::string_view name) {
  return name == "integer" || name == "real" || name == "data" || name == "date" ||
         name == "true" || name == "false" || name == "string" || name == "key";
}

}  // namespace

XMLTreeShape measureXMLTree(std::string_view text, int maxDepth, std::uint64_t maxNodes) {
  XMLTreeShape shape;
  Cursor cursor{text};
  // The open elements libplist matches closing tags against (its node path).
  std::vector<Element> openElements;
  // The containers from the root down to the one new values go into, true for a dictionary
  // (libplist's parent and its ancestors). Its size is that container's depth.
  std::vector<bool> parents;
  bool haveRoot = false;
  bool plistHasContent = false;
  bool haveKey = false;  // a <key> waits for its value

  while (cursor.pos < cursor.end()) {
    cursor.skipWhitespace();
    if (cursor.pos >= cursor.end()) break;
    if (cursor.at(cursor.pos) != '<') return shape;
    ++cursor.pos;
    if (cursor.pos >= cursor.end()) return shape;
    const char first = cursor.at(cursor.pos);
    if (first == '?') {
      if (!cursor.passLiteral("?>", true)) return shape;
      continue;
    }
    if (first == '!') {
      if (cursor.end() - cursor.pos > 3 && cursor.startsWith(cursor.pos, "!--")) {
        cursor.pos += 3;
        if (!cursor.passLiteral("-->", false)) return shape;
      } else if (cursor.end() - cursor.pos > 8 && cursor.startsWith(cursor.pos, "!DOCTYPE")) {
        if (!cursor.passDoctype()) return shape;
      } else {
        return shape;
      }
      continue;
    }

    // A tag: its name runs to white space, '<' or '>'; the rest of it to a '>' outside double
    // quotes. A '/' before that '>' makes the element empty and, within the name, ends it.
    const std::size_t nameStart = cursor.pos;
    cursor.findAnyOf(" \r\n\t<>", false);
    if (cursor.pos >= cursor.end()) return shape;
    const std::size_t rawLength = cursor.pos - nameStart;
    if (cursor.at(cursor.pos) != '>') cursor.findAnyOf("<>", true);
    if (cursor.pos >= cursor.end() || cursor.at(cursor.pos) != '>') return shape;
    std::string_view name = text.substr(nameStart, rawLength);
    name = name.substr(0, name.find('\0'));
    const bool isEmpty = cursor.at(cursor.pos - 1) == '/';
    if (isEmpty) name = name.substr(0, cursor.pos - nameStart - 1);
    ++cursor.pos;

    if (name == "plist") {
      plistHasContent = false;
      if (openElements.empty() && haveRoot) return shape;  // a second top-level plist ends it
      if (isEmpty) return shape;
      openElements.push_back(Element::Plist);
      continue;
    }
    if (name == "/plist") {
      if (!plistHasContent || openElements.empty() || openElements.back() != Element::Plist) {
        return shape;
      }
      openElements.pop_back();
      continue;
    }

    plistHasContent = true;
    const bool isClosing = !name.empty() && name.front() == '/';
    if (!isClosing && ++shape.nodes > maxNodes) return shape;
    const bool isDict = name == "dict";
    const bool isContainer = isDict || name == "array";
    if (isLeafWithText(name)) {
      const bool isText = name == "string" || name == "key";
      if (!isEmpty && !cursor.passLeafText(name, rawLength, !isText)) return shape;
      if (name == "key" && !isEmpty && !haveKey && !parents.empty() && parents.back()) {
        haveKey = true;  // the next value's key, not a value itself
        continue;
      }
    } else if (!isContainer && !isClosing) {
      return shape;  // an element libplist does not know
    }

    if (isClosing) {
      if (openElements.empty() || nameOf(openElements.back()) != name.substr(1)) return shape;
      openElements.pop_back();
      if (parents.empty()) return shape;
      parents.pop_back();
      if (parents.empty()) return shape;  // the root is complete
    } else {
      if (!haveRoot) {
        haveRoot = true;
        if (!isContainer) return shape;  // a scalar root is the whole tree
      } else if (!parents.empty() && parents.back() && !haveKey) {
        return shape;  // a dictionary value without a key
      }
      if (isContainer) {
        shape.depth = std::max(shape.depth, static_cast<int>(parents.size()) + 1);
        if (shape.depth > maxDepth) return shape;
        if (!isEmpty) openElements.push_back(isDict ? Element::Dict : Element::Array);
        // The root takes new values even when it is an empty element.
        if (!isEmpty || parents.empty()) parents.push_back(isDict);
      }
    }
    haveKey = false;
  }
  return shape;
}

}  // namespace Foundation::PropertyList
