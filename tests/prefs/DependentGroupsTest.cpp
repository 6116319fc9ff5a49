// Dependent groups: which rows a page shows at load and after a head's value changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PaneTestSupport.h"
#include "Preferences/PSListControllerUser.h"

namespace prefs_test {
namespace {

struct LoadCase {
  const char* name;
  std::vector<TestRow> rows;
  Foundation::Dictionary file;
  std::vector<std::string> shown;
};

// Rows used by several cases: A governs a1, B, b1, a2; B governs b1.
std::vector<TestRow> nestedRows() {
  return {{"A", 4}, {"a1"}, {"B", 1}, {"b1"}, {"a2"}, {"z"}};
}

// `heads` switch rows, each governing every row after it, then one plain row; the heads
// named in `on` are on, the others off.
LoadCase chainCase(const char* name, int heads, const std::vector<int>& on,
                   std::vector<std::string> shown) {
  LoadCase c{name, {}, {}, std::move(shown)};
  for (int i = 0; i < heads; ++i) {
    const std::string key = "H" + std::to_string(i);
    c.rows.push_back({key.c_str(), heads - i});
    const bool isOn = std::find(on.begin(), on.end(), i) != on.end();
    c.file.set(key, Value::boolean(isOn));
  }
  c.rows.push_back({"end"});
  return c;
}

std::vector<LoadCase> loadCases() {
  // Deep chains: walking every inner group again for each group holding it would take
  // 2^24 file reads here.
  constexpr int kChainHeads = 24;
  return {
      chainCase("DeepChainAllOff", kChainHeads, {}, {"H0"}),
      chainCase("DeepChainOnUpToTheThird", kChainHeads, {0, 1}, {"H0", "H1", "H2"}),
      {"InnerGroupReachingPastItsHolderKeepsItsOuterRows",
       {{"A", 2}, {"a1"}, {"B", 3}, {"b1"}, {"b2"}, {"b3"}},
       {{"A", Value::boolean(false)}, {"B", Value::boolean(true)}},
       {"A", "b1", "b2", "b3"}},
      {"OffInnerGroupReachingPastItsHolder",
       {{"A", 2}, {"a1"}, {"B", 3}, {"b1"}, {"b2"}, {"b3"}, {"z"}},
       {{"A", Value::boolean(true)}, {"B", Value::boolean(false)}},
       {"A", "a1", "B", "z"}},
      {"HeadOffHidesItsRows",
       {{"A", 2}, {"a1"}, {"a2"}, {"z"}},
       {{"A", Value::boolean(false)}},
       {"A", "z"}},
      {"HeadOnShowsItsRows",
       {{"A", 2}, {"a1"}, {"a2"}, {"z"}},
       {{"A", Value::boolean(true)}},
       {"A", "a1", "a2", "z"}},
      {"InnerOffInsideOuterOn",
       nestedRows(),
       {{"A", Value::boolean(true)}, {"B", Value::boolean(false)}},
       {"A", "a1", "B", "a2", "z"}},
      {"InnerOnInsideOuterOff",
       nestedRows(),
       {{"A", Value::boolean(false)}, {"B", Value::boolean(true)}},
       {"A", "z"}},
      {"BothOff",
       nestedRows(),
       {{"A", Value::boolean(false)}, {"B", Value::boolean(false)}},
       {"A", "z"}},
      {"CountZeroHidesNothing", {{"A", 0}, {"a1"}}, {{"A", Value::boolean(false)}}, {"A", "a1"}},
      {"NegativeCountHidesNothing",
       {{"A", -3}, {"a1"}},
       {{"A", Value::boolean(false)}},
       {"A", "a1"}},
      {"AbsentValueWithoutDefaultIsOff", {{"A", 1}, {"a1"}}, {}, {"A"}},
      {"AbsentValueTakesTheDefault",
       {{"A", 1, "PSSwitchCell", Value::boolean(true)}, {"a1"}},
       {},
       {"A", "a1"}},
      {"StoredValueBeatsTheDefault",
       {{"A", 1, "PSSwitchCell", Value::boolean(true)}, {"a1"}},
       {{"A", Value::boolean(false)}},
       {"A"}},
      {"NumberCountsByItsTruth", {{"A", 1}, {"a1"}}, {{"A", Value::integer(2)}}, {"A", "a1"}},
      {"NonSwitchHeadIsHiddenByItsValue",
       {{"S", 1, "PSSegmentCell"}, {"s1"}},
       {{"S", Value::integer(0)}},
       {"S"}},
      {"CountPastTheEndIsClampedToTheList",
       {{"x"}, {"A", 5}, {"a1"}},
       {{"A", Value::boolean(false)}},
       {"x", "A"}},
      {"HugeCountIsClampedToTheList",
       {{"A", 2147483647}, {"a1"}, {"a2"}},
       {{"A", Value::boolean(false)}},
       {"A"}},
      {"ThreeLevels",
       {{"A", 5}, {"B", 3}, {"C", 1}, {"c1"}, {"b1"}, {"a1"}},
       {{"A", Value::boolean(true)}, {"B", Value::boolean(true)}, {"C", Value::boolean(false)}},
       {"A", "B", "C", "b1", "a1"}},
      {"SiblingGroups",
       {{"A", 1}, {"a1"}, {"B", 1}, {"b1"}},
       {{"A", Value::boolean(false)}, {"B", Value::boolean(true)}},
       {"A", "B", "b1"}},
  };
}

class DependentGroupsAtLoad : public PaneTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(DependentGroupsAtLoad, ShowsTheRowsOfEnabledGroupsOnly) {
  const LoadCase& c = GetParam();
  installRootList(c.rows);
  writePrefs(c.file);
  auto controller = makeController();
  EXPECT_EQ(shownKeys(*controller), c.shown);
  EXPECT_EQ(controller->allSpecifiers().size(), c.rows.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, DependentGroupsAtLoad, ::testing::ValuesIn(loadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct Step {
  std::string key;
  Value value;
  std::vector<std::string> shown;
};

struct ChangeCase {
  const char* name;
  std::vector<TestRow> rows;
  Foundation::Dictionary file;
  std::vector<Step> steps;
};

std::vector<ChangeCase> changeCases() {
  return {
      {"TurningOuterOnLeavesInnerOffGroupOut",
       nestedRows(),
       {{"A", Value::boolean(false)}, {"B", Value::boolean(false)}},
       {{"A", Value::boolean(true), {"A", "a1", "B", "a2", "z"}}}},
      {"TurningOuterOnWithInnerOnShowsAll",
       nestedRows(),
       {{"A", Value::boolean(false)}, {"B", Value::boolean(true)}},
       {{"A", Value::boolean(true), {"A", "a1", "B", "b1", "a2", "z"}}}},
      {"TurningOuterOffRemovesExactlyTheShownRows",
       nestedRows(),
       {{"A", Value::boolean(true)}, {"B", Value::boolean(false)}},
       {{"A", Value::boolean(false), {"A", "z"}},
        {"A", Value::boolean(true), {"A", "a1", "B", "a2", "z"}}}},
      {"InnerToggleInsideOuterOn",
       nestedRows(),
       {{"A", Value::boolean(true)}, {"B", Value::boolean(false)}},
       {{"B", Value::boolean(true), {"A", "a1", "B", "b1", "a2", "z"}},
        {"B", Value::boolean(false), {"A", "a1", "B", "a2", "z"}}}},
      {"SwitchingOnTwiceShowsRowsOnce",
       {{"A", 1}, {"a1"}},
       {{"A", Value::boolean(true)}},
       {{"A", Value::boolean(true), {"A", "a1"}}}},
      {"CountZeroNeverChangesThePage",
       {{"A", 0}, {"a1"}},
       {{"A", Value::boolean(true)}},
       {{"A", Value::boolean(false), {"A", "a1"}}, {"A", Value::boolean(true), {"A", "a1"}}}},
      {"NonSwitchHeadChangeInsertsNothing",
       {{"S", 1, "PSSegmentCell", Value(), true, {Value::integer(0), Value::integer(1)}}, {"s1"}},
       {{"S", Value::integer(0)}},
       {{"S", Value::integer(1), {"S"}}}},
      {"CountPastTheEndTogglesToTheEnd",
       {{"x"}, {"A", 5}, {"a1"}},
       {{"A", Value::boolean(true)}},
       {{"A", Value::boolean(false), {"x", "A"}}, {"A", Value::boolean(true), {"x", "A", "a1"}}}},
  };
}

class DependentGroupsAfterChange : public PaneTest,
                                   public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(DependentGroupsAfterChange, InsertsAndRemovesTheGovernedRows) {
  const ChangeCase& c = GetParam();
  installRootList(c.rows);
  writePrefs(c.file);
  auto controller = makeController();
  controller->specifiers();
  for (const Step& step : c.steps) {
    std::string error;
    ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, step.key, step.value, &error))
        << error;
    EXPECT_EQ(shownKeys(*controller), step.shown)
        << "after " << step.key << " = " << step.value.description();
    EXPECT_EQ(readPrefs().valueForKey(step.key), step.value);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DependentGroupsAfterChange, ::testing::ValuesIn(changeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaneTest, RowsOfAHiddenGroupCannotBeChanged) {
  installRootList({{"A", 1}, {"a1"}});
  writePrefs({{"A", Value::boolean(false)}});
  auto controller = makeController();
  std::string error;
  EXPECT_FALSE(
      PSListControllerUser::userChangedValue(*controller, "a1", Value::boolean(true), &error));
  EXPECT_FALSE(readPrefs().contains("a1"));
}

}  // namespace
}  // namespace prefs_test
