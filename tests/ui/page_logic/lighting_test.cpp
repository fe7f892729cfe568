#include <gtest/gtest.h>

#include <vector>

#include "page_test_support.h"
#include "profile/profile_store.h"
#include "ui/page_logic/button_page_logic.h"
#include "ui/page_logic/lighting.h"

namespace t30 {
namespace {

TEST(LightMode, MenuAndCommands) {
    const std::vector<LightMenuItem> expected = {
        {3001, 1124}, {3002, 1125}, {3005, 1145}, {3003, 1126}, {3004, 1144}};
    EXPECT_EQ(LightModeMenuItems(), expected);

    struct Case {
        int command;
        int mode;
    };
    const Case cases[] = {{3001, 1}, {3002, 2}, {3003, 3}, {3004, 0},
                          {3005, 4}, {3006, 0}, {3100, 0}};
    for (const Case& c : cases) {
        ProfileStore store;
        MacroLibrary library;
        ButtonPageLogic logic(store, library);
        logic.ChooseLightMode(c.command);
        EXPECT_EQ(store.current().lightMode, c.mode) << c.command;
    }
}

TEST(LightMode, CaptionsAndLevelsPerMode) {
    struct Case {
        int mode;
        const char16_t* modeCaption;
        bool colour;
        std::vector<LightMenuItem> levels;
        const char16_t* levelCaption;  // brightness 2, speed 3
    };
    const std::vector<LightMenuItem> brightness = {{4001, 1080}, {4002, 1081}, {4003, 1082}};
    const std::vector<LightMenuItem> speed = {{4001, 1084}, {4002, 1085}, {4003, 1086}};
    const Case cases[] = {
        {0, u"#1144", false, {}, u"0%"},
        {1, u"#1124", true, brightness, u"#1081"},
        {2, u"#1125", true, speed, u"#1086"},
        {3, u"#1126", false, speed, u"#1086"},
        {4, u"#1145", false, speed, u"#1086"},
        // Modes no menu sets, as a profile file may bring them.
        {5, u"", false, brightness, u"#1081"},
        {6, u"", false, speed, u"#1086"},
        {7, u"", false, {}, u""},
        {-1, u"", false, {}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ProfileRecord profile{};
        profile.lightMode = c.mode;
        profile.lightBrightness = 2;
        profile.lightSpeed = 3;
        EXPECT_EQ(LightModeCaption(c.mode, FakeText()), c.modeCaption);
        EXPECT_EQ(LightColourApplies(c.mode), c.colour);
        EXPECT_EQ(LightLevelMenuItems(c.mode), c.levels);
        EXPECT_EQ(LightLevelCaption(profile, FakeText()), c.levelCaption);
        const ButtonPageView view = MakeButtonPageView(profile, UsKeyboardLayout(), FakeText());
        EXPECT_EQ(view.lightColourEnabled, c.colour);
        EXPECT_EQ(view.lightLevelCaption, c.levelCaption);
    }
}

TEST(LightLevel, CommandsSetTheFieldOfTheMode) {
    struct Case {
        int mode;
        int command;
        int brightness;
        int speed;
    };
    // Starting from brightness 0 and speed 0, so a write shows.
    const Case cases[] = {
        {1, 4001, 1, 0}, {1, 4002, 2, 0}, {1, 4003, 3, 0}, {1, 4500, 3, 0}, {5, 4001, 1, 0},
        {2, 4001, 0, 1}, {2, 4002, 0, 2}, {2, 4003, 0, 3}, {3, 4999, 0, 2}, {4, 4003, 0, 3},
        {6, 4001, 0, 1}, {0, 4001, 0, 0}, {7, 4003, 0, 0},
    };
    for (const Case& c : cases) {
        ProfileRecord profile{};
        profile.lightMode = c.mode;
        ChooseLightLevel(profile, c.command);
        EXPECT_EQ(profile.lightBrightness, c.brightness) << c.mode << " " << c.command;
        EXPECT_EQ(profile.lightSpeed, c.speed) << c.mode << " " << c.command;
    }
}

TEST(LightLevel, CaptionByLevel) {
    struct Case {
        int mode;
        int level;
        const char16_t* caption;
    };
    const Case cases[] = {
        {1, 1, u"#1080"}, {1, 2, u"#1081"}, {1, 3, u"#1082"}, {1, 0, u"#1082"}, {1, 9, u"#1082"},
        {2, 1, u"#1084"}, {2, 2, u"#1085"}, {2, 3, u"#1086"}, {2, 0, u"#1085"}, {2, 9, u"#1085"},
    };
    for (const Case& c : cases) {
        ProfileRecord profile{};
        profile.lightMode = c.mode;
        profile.lightBrightness = c.level;
        profile.lightSpeed = c.level;
        EXPECT_EQ(LightLevelCaption(profile, FakeText()), c.caption) << c.mode << " " << c.level;
    }
}

// Switching the mode through the page changes which field the level button shows.
TEST(LightLevel, FollowsTheModeChosenOnThePage) {
    ProfileStore store;
    MacroLibrary library;
    ButtonPageLogic logic(store, library);
    logic.ChooseLightMode(3001);
    logic.ChooseLightLevel(4001);
    EXPECT_EQ(store.current().lightBrightness, 1);
    EXPECT_EQ(store.current().lightSpeed, 2);
    logic.ChooseLightMode(3003);
    EXPECT_EQ(LightLevelCaption(store.current(), FakeText()), u"#1085");
    logic.ChooseLightMode(3004);
    EXPECT_EQ(LightLevelCaption(store.current(), FakeText()), u"0%");
    EXPECT_TRUE(LightLevelMenuItems(store.current().lightMode).empty());
}

}  // namespace
}  // namespace t30
