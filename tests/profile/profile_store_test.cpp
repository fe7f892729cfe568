#include "profile/profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/fixed_string.h"

namespace t30 {
namespace {

std::u16string Name(const char16_t (&text)[250]) {
    return std::u16string(FixedView(text));
}

TEST(ProfileLayout, EventsOfFirstSlotSitAtBlockOffset1814) {
    ProfileBlock block{};
    const auto* base = reinterpret_cast<const unsigned char*>(&block);
    const auto* events =
        reinterpret_cast<const unsigned char*>(block.profiles[0].buttons[0].events);
    EXPECT_EQ(events - base, 1814);
    const auto* slot3 = reinterpret_cast<const unsigned char*>(&block.profiles[2].buttons[3]);
    EXPECT_EQ(slot3 - base, 4 + 2 * 19892 + 1748 + 3 * 756);
    const auto* mark = reinterpret_cast<const unsigned char*>(&block.buttonMarks[1][5]);
    EXPECT_EQ(mark - base, 99464 + 4 * (24 * 1 + 5));
}

TEST(ProfileLayout, ImageIsLittleEndian) {
    ProfileBlock block{};
    block.profiles[0].lightColour = MakeColour(0x11, 0x22, 0x33);
    unsigned char bytes[4];
    std::memcpy(bytes, reinterpret_cast<const unsigned char*>(&block) + 4 + 1720, 4);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x33);
    EXPECT_EQ(bytes[3], 0x00);
}

class FreshStore : public ::testing::Test {
  protected:
    ProfileStore store;
};

TEST_F(FreshStore, EveryProfileHoldsTheDefaults) {
    const ProfileBlock& block = store.edited();
    EXPECT_EQ(block.currentIndex, 0);
    for (int p = 0; p < kProfileCount; ++p) {
        SCOPED_TRACE(p);
        const ProfileRecord& r = block.profiles[p];
        EXPECT_EQ(Name(r.name), u"Default" + std::u16string(1, char16_t(u'1' + p)));
        EXPECT_EQ(FixedLength(r.programPath), 0u);
        EXPECT_EQ(r.doubleClickIndex, 6);
        EXPECT_EQ(r.wheelLines, 3);
        EXPECT_EQ(r.wheelPageScroll, 0);
        EXPECT_EQ(r.pointerSpeed, 6);
        EXPECT_EQ(r.reserved1516, 10);
        EXPECT_EQ(r.enhancePrecision, 0);
        EXPECT_EQ(r.sensitivityLinked, 1);
        EXPECT_EQ(r.sensitivityX, 8);
        EXPECT_EQ(r.sensitivityY, 8);
        EXPECT_EQ(r.reserved1560, 1);
        const int32_t dpi[] = {26, 42, 63, 84, 126, 126};
        const int32_t enabled[] = {1, 1, 1, 1, 1, 0};
        for (int s = 0; s < kDpiStageCount; ++s) {
            EXPECT_EQ(r.dpiValues[s], dpi[s]) << "stage " << s;
            EXPECT_EQ(r.dpiStageEnabled[s], enabled[s]) << "stage " << s;
        }
        const uint8_t r1640[] = {1, 2, 3, 4, 4, 5, 5, 6, 6, 0, 1, 1};
        EXPECT_EQ(std::memcmp(r.reserved1640, r1640, 12), 0);
        EXPECT_EQ(r.dpiStage, 1);
        EXPECT_EQ(r.reportRate, 2);
        EXPECT_EQ(r.lightMode, 4);
        EXPECT_EQ(r.lightBrightness, 3);
        EXPECT_EQ(r.lightSpeed, 2);
        EXPECT_EQ(r.lightColour, 0x000000FFu);
        const Colour stages[] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FF00FF, 0x00FFFF00};
        for (int s = 0; s < kStageColourCount; ++s) {
            EXPECT_EQ(r.stageColours[s], stages[s]) << "stage " << s;
        }
    }
}

TEST_F(FreshStore, PhysicalButtonsCarryDefaultCodesAndTheRestAreZero) {
    const uint8_t expected[] = {2, 3, 4, 5, 6, 1, 14, 15, 7, 42, 9, 10};
    const ProfileRecord& r = store.current();
    for (int b = 0; b < kButtonSlotCount; ++b) {
        SCOPED_TRACE(b);
        const ButtonSlot& slot = r.buttons[b];
        if (b < kPhysicalButtonCount) {
            EXPECT_EQ(slot.buttonIndex, b);
            EXPECT_EQ(slot.functionType, expected[b]);
        } else {
            const ButtonSlot zero{};
            EXPECT_EQ(std::memcmp(&slot, &zero, sizeof slot), 0);
        }
    }
}

TEST_F(FreshStore, RestoreFillsAllTwentyFourSlotsAndClearsMacros) {
    ProfileRecord& r = store.current();
    r.buttons[3].functionType = 18;
    r.buttons[3].eventCount = 5;
    r.buttons[3].events[0] = {0x04, 1, 100};
    r.buttons[3].macroRepeat = 7;
    r.buttons[20].functionType = 67;
    r.lightMode = 1;
    store.edited().buttonMarks[0][3] = 1;

    restoreButtonDefaults(r);

    for (int b = 0; b < kButtonSlotCount; ++b) {
        SCOPED_TRACE(b);
        ButtonSlot expected{};
        expected.buttonIndex = static_cast<uint8_t>(b);
        expected.functionType = kDefaultButtonTypes[b % 12];
        EXPECT_EQ(std::memcmp(&r.buttons[b], &expected, sizeof expected), 0);
    }
    EXPECT_EQ(r.lightMode, 1) << "restore touches buttons only";
    EXPECT_EQ(store.edited().buttonMarks[0][3], 1);
}

TEST(MakeDefaults, LeavesMarksReservedTailAndUnsetFieldsAlone) {
    auto block = std::make_unique<ProfileBlock>();
    std::memset(block.get(), 0xAB, sizeof *block);
    makeDefaults(*block);
    EXPECT_EQ(block->currentIndex, 0);
    EXPECT_EQ(block->buttonMarks[4][23], int32_t(0xABABABAB));
    EXPECT_EQ(block->reserved99944[7], 0xAB);
    EXPECT_EQ(block->profiles[2].reserved1692, int32_t(0xABABABAB));
    EXPECT_EQ(block->profiles[2].reserved1588[4], int32_t(0xABABABAB));
    // The name array is wiped beyond its text, not only terminated.
    EXPECT_EQ(block->profiles[0].name[249], 0);
    EXPECT_EQ(block->profiles[0].programPath[499], 0);
    EXPECT_EQ(block->profiles[0].buttons[12].buttonIndex, 0);
}

TEST_F(FreshStore, CurrentIndexOutsideFiveProfilesMeansTheFirst) {
    struct Case {
        int32_t stored;
        int current;
    };
    const Case cases[] = {{0, 0}, {4, 4}, {5, 0}, {7, 0}, {-1, 0}, {INT32_MIN, 0}, {INT32_MAX, 0}};
    for (const Case& c : cases) {
        store.edited().currentIndex = c.stored;
        EXPECT_EQ(store.CurrentIndex(), c.current) << c.stored;
        EXPECT_EQ(&store.current(), &store.edited().profiles[c.current]);
    }
}

TEST_F(FreshStore, SetCurrentIndexRefusesOutOfRangeAndTouchesOnlyEdited) {
    EXPECT_TRUE(store.SetCurrentIndex(3));
    EXPECT_EQ(store.edited().currentIndex, 3);
    EXPECT_EQ(store.applied().currentIndex, 0);
    EXPECT_FALSE(store.SetCurrentIndex(5));
    EXPECT_FALSE(store.SetCurrentIndex(-1));
    EXPECT_EQ(store.edited().currentIndex, 3);
}

TEST_F(FreshStore, CopiesAreWholeBlocks) {
    store.edited().profiles[4].buttons[23].events[39].delayAfter = 555;
    store.edited().reserved99944[0] = 9;
    store.CopyEditedToApplied();
    EXPECT_EQ(std::memcmp(&store.edited(), &store.applied(), sizeof(ProfileBlock)), 0);

    store.applied().profiles[1].wheelLines = 11;
    store.CopyAppliedToEdited();
    EXPECT_EQ(store.edited().profiles[1].wheelLines, 11);
}

TEST_F(FreshStore, MarkButtonSetsOneEntryAndIgnoresOutOfRange) {
    store.MarkButton(2, 23);
    EXPECT_EQ(store.edited().buttonMarks[2][23], 1);
    EXPECT_EQ(store.applied().buttonMarks[2][23], 0);
    const ProfileBlock before = store.edited();
    store.MarkButton(5, 0);
    store.MarkButton(0, 24);
    store.MarkButton(-1, 0);
    EXPECT_EQ(std::memcmp(&before, &store.edited(), sizeof before), 0);
}

}  // namespace
}  // namespace t30
