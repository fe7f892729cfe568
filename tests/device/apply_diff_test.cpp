#include "device/apply_diff.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/fixed_string.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

TEST(DiffProfiles, EachFieldMarksItsOwnGroupOnly) {
    struct Case {
        const char* field;
        std::function<void(ProfileRecord&)> edit;
        DirtyFlags expected;
    };
    const DirtyFlags none{};
    const DirtyFlags dpi{true, false, false, false};
    const DirtyFlags lighting{false, true, false, false};
    const DirtyFlags rate{false, false, true, false};
    const DirtyFlags buttons{false, false, false, true};
    const Case cases[] = {
        {"lightColour", [](ProfileRecord& p) { p.lightColour = 0x00FF00; }, lighting},
        {"lightMode", [](ProfileRecord& p) { p.lightMode = 1; }, lighting},
        {"lightSpeed", [](ProfileRecord& p) { p.lightSpeed = 1; }, lighting},
        {"lightBrightness", [](ProfileRecord& p) { p.lightBrightness = 1; }, lighting},
        {"reportRate", [](ProfileRecord& p) { p.reportRate = 0; }, rate},
        {"sensitivityX", [](ProfileRecord& p) { p.sensitivityX = 2; }, dpi},
        {"sensitivityY", [](ProfileRecord& p) { p.sensitivityY = 2; }, dpi},
        {"reserved 1560", [](ProfileRecord& p) { p.reserved1560 = 0; }, dpi},
        {"dpiValues[5]", [](ProfileRecord& p) { p.dpiValues[5] = 1; }, dpi},
        {"reserved 1604", [](ProfileRecord& p) { p.reserved1588[4] = 1; }, dpi},
        {"dpiStage", [](ProfileRecord& p) { p.dpiStage = 3; }, dpi},
        {"dpiStageEnabled[5]", [](ProfileRecord& p) { p.dpiStageEnabled[5] = 1; }, dpi},
        {"reserved 1636", [](ProfileRecord& p) { p.reserved1636 = 1; }, dpi},
        {"reserved byte 1649", [](ProfileRecord& p) { p.reserved1640[9] = 7; }, dpi},
        {"reserved byte 1650", [](ProfileRecord& p) { p.reserved1640[10] = 7; }, none},
        {"stageColours[4]", [](ProfileRecord& p) { p.stageColours[4] = 0; }, dpi},
        {"slot 23 event", [](ProfileRecord& p) { p.buttons[23].events[39].delayAfter = 1; },
         buttons},
        {"slot 0 reserved tail", [](ProfileRecord& p) { p.buttons[0].reserved236[519] = 1; },
         buttons},
        {"programPath", [](ProfileRecord& p) { SetFixed(p.programPath, u"C:\\game.exe"); }, none},
        {"name", [](ProfileRecord& p) { SetFixed(p.name, u"Mine"); }, none},
        {"pointerSpeed", [](ProfileRecord& p) { p.pointerSpeed = 11; }, none},
        {"doubleClickIndex", [](ProfileRecord& p) { p.doubleClickIndex = 0; }, none},
        {"wheelLines", [](ProfileRecord& p) { p.wheelLines = 9; }, none},
        {"enhancePrecision", [](ProfileRecord& p) { p.enhancePrecision = 1; }, none},
        {"sensitivityLinked", [](ProfileRecord& p) { p.sensitivityLinked = 0; }, none},
        {"reserved 1660", [](ProfileRecord& p) { p.reserved1660 = 0; }, none},
    };
    for (const Case& c : cases) {
        ProfileStore store;
        store.SetCurrentIndex(2);
        store.CopyEditedToApplied();
        c.edit(store.current());
        EXPECT_EQ(diffProfiles(store.applied(), store.edited()), c.expected) << c.field;
    }
}

TEST(DiffProfiles, OtherProfilesAndBlockTailDoNotCount) {
    ProfileStore store;
    store.edited().profiles[1].lightColour = 1;
    store.edited().buttonMarks[0][0] = 1;
    EXPECT_FALSE(diffProfiles(store.applied(), store.edited()).any());
}

TEST(DiffProfiles, ChangedCurrentIndexMarksEverything) {
    ProfileStore store;
    store.SetCurrentIndex(1);
    EXPECT_EQ(diffProfiles(store.applied(), store.edited()), DirtyFlags::All());
}

TEST(DiffProfiles, OutOfRangeIndexComparesTheFirstProfile) {
    ProfileStore store;
    store.edited().currentIndex = 9;
    store.applied().currentIndex = 9;
    store.edited().profiles[0].reportRate = 1;
    EXPECT_TRUE(diffProfiles(store.applied(), store.edited()).rate);
}

}  // namespace
}  // namespace t30
