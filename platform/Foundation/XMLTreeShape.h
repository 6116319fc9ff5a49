// How deep and how large the tree is that libplist's XML reader (version 2.2) builds from some
// text, found without building it.
//
// libplist reads XML without recursion but frees a tree, the partial tree of input it gives up
// on half-way included, by recursion: one stack frame per level. Text that nests too deeply
// must therefore be refused before libplist sees it, and the measurement must agree with
// libplist's tokeniser on every input, or the disagreement becomes a way to hide depth from
// it. So it follows that tokeniser rule for rule: only double quotes guard a '>' inside a tag
// (a single quote is an ordinary character), comments, processing instructions and DOCTYPE
// declarations are skipped the way it skips them, a tag name ends at white space, '<' or '>',
// a NUL byte ends a tag name, the text of a leaf element runs to the first '<' that opens no
// comment or CDATA section, and it stops where libplist stops: at the first thing it rejects,
// or when the root element is closed.
#pragma once

#include <cstdint>
#include <string_view>

namespace Foundation::PropertyList {

struct XMLTreeShape {
  // Arrays and dictionaries nested inside each other: 1 for a root container, 0 for a scalar
  // root or none.
  int depth = 0;
  // Values and dictionary keys libplist creates.
  std::uint64_t nodes = 0;
};

// The shape of the tree libplist builds from `text` before it finishes or gives up. The
// measurement stops early once the depth passes `maxDepth` or the nodes pass `maxNodes`; the
// result then exceeds that limit (and is not the full shape).
XMLTreeShape measureXMLTree(std::string_view text, int maxDepth, std::uint64_t maxNodes);

}  // namespace Foundation::PropertyList
