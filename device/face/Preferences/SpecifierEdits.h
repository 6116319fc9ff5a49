// What the framework's contiguous row edits are given, so that they keep the face's contract
// (only rows on the page are taken off; a row is never shown twice; nothing is inserted after
// a row that is not shown): the framework's own insertContiguousSpecifiers: and
// removeContiguousSpecifiers: work on index ranges and assume the caller already made sure.
// Pure functions over the rows' identities (`T` compares equal for the same row).
#pragma once

#include <algorithm>
#include <vector>

namespace gw::device {

// The rows to insert after `anchor`: those of `rows` neither on `shown` nor earlier in
// `rows`, in their order. Empty when `anchor` is not on `shown`.
template <typename T>
std::vector<T> rowsToInsert(const std::vector<T>& shown, const std::vector<T>& rows,
                            const T& anchor) {
  std::vector<T> block;
  if (std::find(shown.begin(), shown.end(), anchor) == shown.end()) return block;
  for (const T& row : rows) {
    if (std::find(shown.begin(), shown.end(), row) != shown.end()) continue;
    if (std::find(block.begin(), block.end(), row) != block.end()) continue;
    block.push_back(row);
  }
  return block;
}

// The rows of `rows` that are on `shown`, as runs of rows adjacent on `shown`, each run and
// the runs in the order of `shown`: each run can be taken off as one range.
template <typename T>
std::vector<std::vector<T>> runsToRemove(const std::vector<T>& shown, const std::vector<T>& rows) {
  std::vector<std::vector<T>> runs;
  bool inRun = false;
  for (const T& row : shown) {
    const bool removed = std::find(rows.begin(), rows.end(), row) != rows.end();
    if (removed && !inRun) runs.emplace_back();
    if (removed) runs.back().push_back(row);
    inRun = removed;
  }
  return runs;
}

}  // namespace gw::device
