// The device's row edits keep the settings page's contract whatever rows the page's
// controller passes: the framework below them edits index ranges without checking.
#include "device/face/Preferences/SpecifierEdits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;
using gw::device::rowsToInsert;
using gw::device::runsToRemove;

struct InsertCase {
  std::string name;
  Rows shown;
  Rows rows;
  std::string anchor;
  Rows expected;
};

class RowsToInsertTest : public testing::TestWithParam<InsertCase> {};

TEST_P(RowsToInsertTest, AddsOnlyRowsNotShownAfterAShownAnchor) {
  const InsertCase& c = GetParam();
  EXPECT_EQ(rowsToInsert(c.shown, c.rows, c.anchor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowsToInsertTest,
    testing::Values(InsertCase{"AllNew", {"a", "b"}, {"x", "y"}, "a", {"x", "y"}},
                    InsertCase{"AnchorNotShown", {"a", "b"}, {"x"}, "z", {}},
                    InsertCase{"SomeAlreadyShown", {"a", "x", "b"}, {"x", "y"}, "a", {"y"}},
                    InsertCase{"DuplicatesKeptOnce", {"a"}, {"y", "x", "y"}, "a", {"y", "x"}},
                    InsertCase{"NothingToAdd", {"a"}, {}, "a", {}}),
    [](const testing::TestParamInfo<InsertCase>& info) { return info.param.name; });

struct RemoveCase {
  std::string name;
  Rows shown;
  Rows rows;
  std::vector<Rows> expected;
};

class RunsToRemoveTest : public testing::TestWithParam<RemoveCase> {};

TEST_P(RunsToRemoveTest, GroupsShownRowsIntoAdjacentRuns) {
  const RemoveCase& c = GetParam();
  EXPECT_EQ(runsToRemove(c.shown, c.rows), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunsToRemoveTest,
    testing::Values(
        RemoveCase{"OneRun", {"a", "b", "c", "d"}, {"b", "c"}, {{"b", "c"}}},
        // An inner group left hidden splits nothing: its rows are simply not on the page.
        RemoveCase{"RowsNotShownLeftOut", {"a", "b", "d"}, {"b", "c", "d"}, {{"b", "d"}}},
        RemoveCase{"SplitByAKeptRow", {"a", "b", "c", "d"}, {"a", "c", "d"}, {{"a"}, {"c", "d"}}},
        RemoveCase{
            "PageOrderNotArgumentOrder", {"a", "b", "c"}, {"c", "a", "b"}, {{"a", "b", "c"}}},
        RemoveCase{"NoneShown", {"a"}, {"x"}, {}}),
    [](const testing::TestParamInfo<RemoveCase>& info) { return info.param.name; });

}  // namespace
