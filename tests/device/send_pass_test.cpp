#include "device/send_pass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/feature_reports.h"
#include "fake_sink.h"
#include "profile/profile_store.h"
#include "profile/slot_assignment.h"

namespace t30 {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

class SendPassTest : public ::testing::Test {
  protected:
    SendPassTest() {
        ProfileStore store;
        pass.profile = store.current();
    }
    void PutMacro(int slot, uint8_t type) {
        MacroEvent events[kMaxMacroEvents] = {{0x04, 1, 10}, {0x04, 2, 0}};
        AssignMacro(pass.profile.buttons[slot], SlotMacro{u"m", 1, 2, events}, type == 50);
    }
    SendPass pass{};
    test::RecordingSink sink;
    test::RecordingSleeper sleeper;
};

TEST_F(SendPassTest, FullPassSendsInFixedOrderWithMacrosInSlotOrder) {
    PutMacro(20, 50);
    PutMacro(3, 18);
    pass.flags = DirtyFlags::All();
    RunSendPass(pass, sink, sleeper);
    EXPECT_THAT(sink.Ids(), ElementsAre(0x04, 0x05, 0x06, 0x09, 0x09, 0x08));
    EXPECT_EQ(sink.reports[3][2], 4) << "slot 3 first";
    EXPECT_EQ(sink.reports[4][2], 21);
    EXPECT_THAT(sleeper.sleeps, ElementsAre(400, 400, 400, 400, 400, 400));
    EXPECT_EQ(sink.reports[5].size(), kButtonMapReportSize);
}

TEST_F(SendPassTest, FlagsPickTheGroups) {
    struct Case {
        DirtyFlags flags;
        std::vector<uint8_t> ids;
    };
    const Case cases[] = {
        {{false, true, false, false}, {0x05}},
        {{true, false, true, false}, {0x04, 0x06}},
        {{false, false, false, true}, {0x08}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        test::RecordingSink s;
        test::RecordingSleeper z;
        pass.flags = c.flags;
        RunSendPass(pass, s, z);
        EXPECT_EQ(s.Ids(), c.ids);
        EXPECT_EQ(z.sleeps.size(), c.ids.size());
    }
}

TEST_F(SendPassTest, RefusedReportsAreSkippedWithoutPauseAndThePassGoesOn) {
    PutMacro(1, 18);
    PutMacro(2, 18);
    pass.flags = DirtyFlags::All();
    sink.refuse = [](const std::vector<uint8_t>& r) {
        return r[0] == 0x05 || (r[0] == 0x09 && r[2] == 2);
    };
    RunSendPass(pass, sink, sleeper);
    EXPECT_THAT(sink.Ids(), ElementsAre(0x04, 0x06, 0x09, 0x08));
    EXPECT_EQ(sink.refused, 2);
    EXPECT_EQ(sleeper.sleeps.size(), 4u);
    EXPECT_THAT(sleeper.sleeps, Each(400u));
}

}  // namespace
}  // namespace t30
