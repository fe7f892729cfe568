#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/fixed_string.h"
#include "page_test_support.h"
#include "profile/profile_store.h"
#include "ui/page_logic/button_page_logic.h"

namespace t30 {
namespace {

TEST(ButtonDisplay, NumbersAndPicturesByIndex) {
    const int numbers[kButtonSlotCount] = {1, 2, 3, 5, 4, 0, 7, 8, 9, 6, 11, 12,
                                           1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  1};
    const char* pictures[kPhysicalButtonCount] = {
        "mouse1.jpg", "mouse2.jpg", "mouse3.jpg", "mouse5.jpg", "mouse4.jpg", "mouse.jpg",
        "mouse7.jpg", "mouse8.jpg", "mouse9.jpg", "mouse6.jpg", "mouse.jpg",  "mouse.jpg"};
    for (int i = 0; i < kButtonSlotCount; ++i) {
        EXPECT_EQ(ButtonDisplayNumber(i), numbers[i]) << i;
        EXPECT_STREQ(ButtonPictureFile(i), i < kPhysicalButtonCount ? pictures[i] : "mouse.jpg")
            << i;
    }
}

TEST(ButtonLabel, FreshProfileShowsNumbersAndDefaultFunctions) {
    ProfileBlock block{};
    makeDefaults(block);
    const auto labels = ButtonLabels(block.profiles[0], UsKeyboardLayout(), FakeText());
    EXPECT_EQ(labels[0], u"1.#1003");
    EXPECT_EQ(labels[3], u"5.#1009");  // index 3 is the mouse's button 5
    EXPECT_EQ(labels[5], u"0.#1058");  // the unnumbered button shows 0
    EXPECT_EQ(labels[9], u"6.#1142");
    EXPECT_EQ(labels[11], u"12.#1017");
    // Slots 12-23 of a fresh profile hold code 0, which has no name: the number alone.
    for (int i = 12; i < kButtonSlotCount; ++i) {
        EXPECT_EQ(labels[static_cast<std::size_t>(i)], u"1.") << i;
    }
}

TEST(ButtonLabel, EveryKindOfFunction) {
    struct Case {
        int index;
        uint8_t code;
        uint16_t eventCount;
        uint8_t key;
        uint8_t action;
        const char16_t* macroName;
        const char16_t* label;
    };
    const Case cases[] = {
        {0, 3, 0, 0, 0, u"", u"1.#1005"},
        {5, 67, 0, 0, 0, u"", u"0.#1030"},
        {12, 2, 0, 0, 0, u"", u"1.#1003"},
        {23, 42, 0, 0, 0, u"", u"1.#1142"},
        // A key combination not chosen yet shows the number only.
        {4, 17, 0, 0x04, 0x06, u"", u"4."},
        {4, 17, 1, 0x04, 0x06, u"", u"4.Shift+Ctrl+A"},
        {1, 17, 1, 0x3A, 0x1F, u"", u"2.F1"},
        {1, 17, 1, 0x3A, 0x10, u"", u"2.Win+F1"},
        {1, 17, 1, 0x32, 0x04, u"", u"2.Ctrl+"},  // usage without a key: prefix alone
        {6, 18, 3, 0, 0, u"Fire", u"7.#1062-Fire"},
        {6, 50, 3, 0, 0, u"Fire", u"7.#1148-Fire"},
        {10, 18, 0, 0, 0, u"", u"11.#1062-"},
        // Codes without a name.
        {2, 16, 0, 0, 0, u"", u"3."},
        {2, 100, 0, 0, 0, u"", u"3."},
        {2, 200, 0, 0, 0, u"", u"3."},
        {2, 0, 0, 0, 0, u"", u"3."},
    };
    for (const Case& c : cases) {
        ButtonSlot slot{};
        slot.buttonIndex = static_cast<uint8_t>(c.index);
        slot.functionType = c.code;
        slot.eventCount = c.eventCount;
        slot.events[0] = {c.key, c.action, 0};
        SetFixed(slot.macroName, c.macroName);
        EXPECT_EQ(ButtonLabel(c.index, slot, UsKeyboardLayout(), FakeText()), c.label)
            << "index " << c.index << " code " << int(c.code);
    }
}

TEST(HighlightForNotifyId, OnlyAssignmentButtons) {
    EXPECT_EQ(HighlightForNotifyId(200), 0);
    EXPECT_EQ(HighlightForNotifyId(223), 23);
    EXPECT_EQ(HighlightForNotifyId(224), std::nullopt);
    EXPECT_EQ(HighlightForNotifyId(199), std::nullopt);
    EXPECT_EQ(HighlightForNotifyId(100), std::nullopt);
    EXPECT_EQ(HighlightForNotifyId(int64_t(1) << 40 | 200), std::nullopt);
}

TEST(ButtonPageView, FreshProfile) {
    ProfileBlock block{};
    makeDefaults(block);
    const ProfileRecord& p = block.profiles[0];
    const ButtonPageView view = MakeButtonPageView(p, UsKeyboardLayout(), FakeText());
    EXPECT_EQ(view.buttonLabels[0], u"1.#1003");
    EXPECT_EQ(view.lightModeCaption, u"#1145");  // mode 4
    EXPECT_FALSE(view.lightColourEnabled);
    EXPECT_EQ(view.lightLevelCaption, u"#1085");  // speed 2
    EXPECT_EQ(view.reportRateChecked, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(view.lightColour, MakeColour(255, 0, 0));
    EXPECT_EQ(view.stageColours[4], MakeColour(0, 255, 255));
    const int values[kDpiStageCount] = {26, 42, 63, 84, 126, 126};
    for (int k = 0; k < kDpiStageCount; ++k) {
        const DpiStageView& stage = view.dpiStages[static_cast<std::size_t>(k)];
        EXPECT_EQ(stage.value, values[k]) << k;
        EXPECT_EQ(stage.enabled, k != 5) << k;
        EXPECT_EQ(stage.current, k == 1) << k;
    }
}

TEST(ButtonPageView, FollowsTheProfile) {
    ProfileBlock block{};
    makeDefaults(block);
    ProfileRecord& p = block.profiles[0];
    p.lightMode = 1;
    p.lightBrightness = 1;
    p.reportRate = 0;
    p.dpiStage = 5;
    p.dpiStageEnabled[2] = 0;
    p.dpiStageEnabled[5] = 1;
    p.dpiValues[3] = 1;
    const ButtonPageView view = MakeButtonPageView(p, UsKeyboardLayout(), FakeText());
    EXPECT_EQ(view.lightModeCaption, u"#1124");
    EXPECT_TRUE(view.lightColourEnabled);
    EXPECT_EQ(view.lightLevelCaption, u"#1080");
    EXPECT_EQ(view.reportRateChecked, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_FALSE(view.dpiStages[2].enabled);
    EXPECT_TRUE(view.dpiStages[5].enabled);
    EXPECT_EQ(view.dpiStages[3].value, 1);
    int current = 0;
    for (const DpiStageView& stage : view.dpiStages) {
        current += stage.current;
    }
    EXPECT_EQ(current, 1);
    EXPECT_TRUE(view.dpiStages[5].current);
}

}  // namespace
}  // namespace t30
