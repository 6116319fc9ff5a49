// The XML depth check against the parser it protects: the input is XML property-list text.
// measureXMLTree (with a small depth limit, so that a disagreement needs no huge input to
// show) says how deep libplist's tree will be; libplist then reads the text for real, on a
// thread with a stack far larger than any input here can need, so that the recursion this
// target hunts for is measured instead of crashing it. Two things must hold whenever the check
// accepts the text:
//   - the tree libplist returns is no deeper than the check said (walked without recursion);
//   - libplist's own recursion, which also frees the partial tree of text it gives up on (no
//     tree comes back to measure then), stays shallow: a band of the thread's stack well below
//     what a tree within the limit needs is filled with a pattern beforehand and must come back
//     untouched.
#include <plist/plist.h>
#include <pthread.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "Foundation/XMLTreeShape.h"

namespace {

constexpr int kDepthLimit = 24;
constexpr std::uint64_t kNodeLimit = std::uint64_t{1} << 21;
// libplist's frees take some tens of bytes of stack a level; parsing itself a few kilobytes.
// Text within kDepthLimit stays far above the band; text a few thousand levels deep reaches it.
constexpr std::size_t kBandOffset = 128 * 1024;
constexpr std::size_t kBandBytes = 32 * 1024;
constexpr unsigned char kPaint = 0xA5;
// Deeper than any input can nest: an element takes at least 6 bytes ("<dict>"), and a level of
// libplist's recursion well under 256 bytes of stack.
constexpr std::size_t kMaxInputBytes = 16 * 1024 * 1024;
constexpr std::size_t kThreadStackBytes = std::size_t{1} << 30;

struct Run {
  std::string_view text;
  bool parsed = false;
  int treeDepth = 0;
  bool bandTouched = false;
};

// Container levels of a libplist tree, the root container counting 1.
int treeDepth(plist_t root) {
  struct Level {
    plist_t node;
    void* iter;
    int depth;
  };
  const auto isContainer = [](plist_t node) {
    const plist_type type = plist_get_node_type(node);
    return type == PLIST_ARRAY || type == PLIST_DICT;
  };
  const auto open = [](plist_t node, int depth) {
    void* iter = nullptr;
    if (plist_get_node_type(node) == PLIST_ARRAY) {
      plist_array_new_iter(node, &iter);
    } else {
      plist_dict_new_iter(node, &iter);
    }
    return Level{node, iter, depth};
  };
  if (!isContainer(root)) return 0;
  int deepest = 1;
  std::vector<Level> stack{open(root, 1)};
  while (!stack.empty()) {
    Level& level = stack.back();
    plist_t child = nullptr;
    if (plist_get_node_type(level.node) == PLIST_ARRAY) {
      plist_array_next_item(level.node, level.iter, &child);
    } else {
      char* key = nullptr;
      plist_dict_next_item(level.node, level.iter, &key, &child);
      std::free(key);
    }
    if (child == nullptr) {
      std::free(level.iter);
      stack.pop_back();
      continue;
    }
    if (isContainer(child)) {
      const int depth = level.depth + 1;
      deepest = std::max(deepest, depth);
      stack.push_back(open(child, depth));
    }
  }
  return deepest;
}

// Writes below the caller's frame on purpose, outside any object the sanitizer knows.
__attribute__((no_sanitize("address"), noinline)) void paintBand(volatile unsigned char* low) {
  for (std::size_t i = 0; i < kBandBytes; ++i) low[i] = kPaint;
}

__attribute__((no_sanitize("address"), noinline)) bool bandIntact(
    const volatile unsigned char* low) {
  for (std::size_t i = 0; i < kBandBytes; ++i) {
    if (low[i] != kPaint) return false;
  }
  return true;
}

void* parseOnBigStack(void* argument) {
  Run& run = *static_cast<Run*>(argument);
  volatile unsigned char here = 0;
  volatile unsigned char* band = &here - kBandOffset - kBandBytes;
  paintBand(band);
  plist_t root = nullptr;
  plist_from_xml(run.text.data(), static_cast<std::uint32_t>(run.text.size()), &root);
  if (root != nullptr) {
    run.parsed = true;
    run.treeDepth = treeDepth(root);
    plist_free(root);
  }
  run.bandTouched = !bandIntact(band);
  return nullptr;
}

void fail(const char* what, int checked, const Run& run) {
  std::fprintf(stderr, "xml_depth: %s (check: depth %d; libplist: %s, depth %d)\n", what, checked,
               run.parsed ? "tree" : "no tree", run.treeDepth);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxInputBytes) return 0;
  Run run;
  run.text = std::string_view(reinterpret_cast<const char*>(data), size);
  const Foundation::PropertyList::XMLTreeShape shape =
      Foundation::PropertyList::measureXMLTree(run.text, kDepthLimit, kNodeLimit);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kThreadStackBytes);
  pthread_t thread;
  if (pthread_create(&thread, &attributes, &parseOnBigStack, &run) != 0) std::abort();
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);

  const bool accepted = shape.depth <= kDepthLimit && shape.nodes <= kNodeLimit;
  if (!accepted) return 0;
  if (run.parsed && run.treeDepth > shape.depth)
    fail("tree deeper than the check said", shape.depth, run);
  if (run.bandTouched) fail("libplist recursed deeper than the check allows", shape.depth, run);
  return 0;
}
