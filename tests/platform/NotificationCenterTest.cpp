#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Device/Process.h"
#include "Foundation/NSNotificationCenterSimulation.h"
#include "support/ScopedTestDevice.h"

namespace {

using Log = std::vector<std::string>;

// Distinct identities for addObserver/removeObserver.
struct Observers {
  char a, b, c, d;
};

TEST(NotificationCenterTest, DeliversInRegistrationOrderWithNameObjectAndUserInfo) {
  ScopedTestDevice device;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  Observers o{};
  Log log;
  Foundation::Value seenObject;
  Foundation::Dictionary seenUserInfo;
  center.addObserver(
      &o.b, [&](const NSNotification&) { log.push_back("b"); }, "VXFab_Pan_End");
  center.addObserver(
      &o.a,
      [&](const NSNotification& n) {
        log.push_back("a");
        seenObject = n.object;
        seenUserInfo = n.userInfo;
      },
      "VXFab_Pan_End");
  center.addObserver(
      &o.c, [&](const NSNotification& n) { log.push_back("any:" + n.name); }, "");
  center.addObserver(
      &o.d, [&](const NSNotification&) { log.push_back("d"); }, "VXFab_Pan_Start");

  center.postNotificationName("VXFab_Pan_End", Foundation::Value::point({10, 20}),
                              Foundation::Dictionary{{"k", Foundation::Value::boolean(true)}});
  EXPECT_EQ(log, (Log{"b", "a", "any:VXFab_Pan_End"}));
  EXPECT_EQ(seenObject, Foundation::Value::point({10, 20}));
  EXPECT_EQ(seenUserInfo.valueForKey("k"), Foundation::Value::boolean(true));
}

TEST(NotificationCenterTest, RemovalDuringDeliveryTakesEffectAtOnce) {
  struct Case {
    const char* label;
    int remover;  // index of the observer that removes
    int removed;  // index of the observer it removes
    Log firstPost;
    Log secondPost;
  };
  const std::vector<Case> cases = {
      {"removes itself", 1, 1, {"0", "1", "2"}, {"0", "2"}},
      {"removes a later observer", 0, 2, {"0", "1"}, {"0", "1"}},
      {"removes an earlier observer", 2, 0, {"0", "1", "2"}, {"1", "2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScopedTestDevice device;
    NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
    char identities[3] = {};
    Log log;
    bool removing = true;
    for (int i = 0; i < 3; ++i) {
      center.addObserver(
          &identities[i],
          [&, i](const NSNotification&) {
            log.push_back(std::to_string(i));
            if (i == c.remover && removing) {
              removing = false;
              center.removeObserver(&identities[c.removed]);
            }
          },
          "VXPREFSUPDATED");
    }
    center.postNotificationName("VXPREFSUPDATED");
    EXPECT_EQ(log, c.firstPost);
    log.clear();
    center.postNotificationName("VXPREFSUPDATED");
    EXPECT_EQ(log, c.secondPost);
  }
}

TEST(NotificationCenterTest, ObserverAddedDuringDeliveryWaitsForTheNextPost) {
  ScopedTestDevice device;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  Observers o{};
  Log log;
  center.addObserver(
      &o.a,
      [&](const NSNotification&) {
        log.push_back("a");
        if (log.size() == 1) {
          center.addObserver(
              &o.b, [&](const NSNotification&) { log.push_back("b"); }, "n");
        }
      },
      "n");
  center.postNotificationName("n");
  EXPECT_EQ(log, (Log{"a"}));
  center.postNotificationName("n");
  EXPECT_EQ(log, (Log{"a", "a", "b"}));
}

TEST(NotificationCenterTest, NestedPostIsDeliveredCompletelyBeforeTheOuterGoesOn) {
  ScopedTestDevice device;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  Observers o{};
  Log log;
  center.addObserver(
      &o.a,
      [&](const NSNotification&) {
        log.push_back("outer a");
        center.postNotificationName("inner");
      },
      "outer");
  center.addObserver(
      &o.b, [&](const NSNotification&) { log.push_back("inner b"); }, "inner");
  center.addObserver(
      &o.c, [&](const NSNotification&) { log.push_back("outer c"); }, "outer");
  center.addObserver(
      &o.d,
      [&](const NSNotification& n) {
        log.push_back("any " + n.name);
        // Removing itself inside the nested post also holds for the outer one.
        center.removeObserver(&o.d);
      },
      "");
  center.postNotificationName("outer");
  EXPECT_EQ(log, (Log{"outer a", "inner b", "any inner", "outer c"}));
}

TEST(NotificationCenterTest, BlockObserversAreRemovedByTheirToken) {
  ScopedTestDevice device;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  Log log;
  auto first = center.addObserverForName("n", [&](const NSNotification&) { log.push_back("1"); });
  NSNotificationCenter::ObserverToken second;
  second = center.addObserverForName("n", [&](const NSNotification&) {
    log.push_back("2");
    center.removeObserver(second);
  });
  ASSERT_NE(first, second);
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(center, first.get()), 1u);
  center.postNotificationName("n");
  center.postNotificationName("n");
  EXPECT_EQ(log, (Log{"1", "2", "1"}));
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(center, second.get()), 0u);

  // The centre keeps a block observer even when the caller drops the token.
  const void* identity = first.get();
  first.reset();
  center.postNotificationName("n");
  EXPECT_EQ(log.back(), "1");
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(center, identity), 1u);
}

TEST(NotificationCenterTest, RemoveObserverRemovesEveryNameAndRepeatedRegistration) {
  ScopedTestDevice device;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  Observers o{};
  int calls = 0;
  auto count = [&](const NSNotification&) { ++calls; };
  center.addObserver(&o.a, count, "VXFab_Pan_End");
  center.addObserver(&o.a, count, "VXFab_Pan_End");
  center.addObserver(&o.a, count, "VXPREFSUPDATED");
  center.addObserver(&o.b, count, "VXPREFSUPDATED");
  center.postNotificationName("VXFab_Pan_End");
  EXPECT_EQ(calls, 2) << "each registration is called";
  center.removeObserver(&o.a);
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(center, &o.a), 0u);
  calls = 0;
  center.postNotificationName("VXFab_Pan_End");
  center.postNotificationName("VXPREFSUPDATED");
  EXPECT_EQ(calls, 1);
}

TEST(NotificationCenterTest, EachProcessHasItsOwnCentreClearedWhenItEnds) {
  ScopedTestDevice device;
  auto settings = device.device().launch("Preferences");
  NSNotificationCenter& springBoardCenter = NSNotificationCenter::defaultCenter();
  auto held = std::make_shared<int>(0);
  std::weak_ptr<int> watch = held;
  int settingsCalls = 0;
  {
    ProcessScope scope(*settings);
    EXPECT_NE(&NSNotificationCenter::defaultCenter(), &springBoardCenter);
    NSNotificationCenter::defaultCenter().addObserver(
        nullptr, [&settingsCalls, held](const NSNotification&) { ++settingsCalls; }, "n");
  }
  held.reset();
  springBoardCenter.postNotificationName("n");
  EXPECT_EQ(settingsCalls, 0);
  device.device().terminate("Preferences");
  EXPECT_TRUE(watch.expired()) << "the ended process's observers are released";
}

}  // namespace
