#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "profile/profile_store.h"
#include "ui/page_logic/button_page_logic.h"
#include "ui/page_logic/dpi_stages.h"

namespace t30 {
namespace {

TEST(DpiStageMessage, PageWritesTheProfile) {
    enum Field { kNone, kValue, kEnabled, kStage };
    struct Case {
        const char* what;
        uint64_t wParam;
        int64_t lParam;
        DpiStageUpdate update;
        Field field;
        int stage;
        int stored;
    };
    const Case cases[] = {
        {"slider of stage 0 at 50", 0x20032, 500, DpiStageUpdate::kStored, kValue, 0, 50},
        {"slider of stage 5 at 126", 0x2007E, 505, DpiStageUpdate::kStored, kValue, 5, 126},
        {"slider value 0 clamped", 0x20000, 502, DpiStageUpdate::kStored, kValue, 2, 1},
        {"slider value 0xFFFF clamped", 0x2FFFF, 502, DpiStageUpdate::kStored, kValue, 2, 126},
        {"stage 3 switched off", 0x10000, 503, DpiStageUpdate::kStored, kEnabled, 3, 0},
        {"stage 5 switched on", 0x10001, 505, DpiStageUpdate::kStored, kEnabled, 5, 1},
        {"odd flag stored as 1", 0x10007, 505, DpiStageUpdate::kStored, kEnabled, 5, 1},
        {"current stage stays on", 0x10000, 501, DpiStageUpdate::kIgnored, kNone, 0, 0},
        {"stage 4 made current", 0x30000, 504, DpiStageUpdate::kCurrentChanged, kStage, 4, 4},
        {"current stage chosen again", 0x30001, 501, DpiStageUpdate::kCurrentChanged, kStage, 1, 1},
        {"window id 506", 0x20032, 506, DpiStageUpdate::kIgnored, kNone, 0, 0},
        {"window id 499", 0x20032, 499, DpiStageUpdate::kIgnored, kNone, 0, 0},
        {"window id far off", 0x20032, (int64_t(1) << 32) + 500, DpiStageUpdate::kIgnored, kNone, 0,
         0},
        {"kind 4", 0x40032, 500, DpiStageUpdate::kIgnored, kNone, 0, 0},
        {"kind 0", 0x00032, 500, DpiStageUpdate::kIgnored, kNone, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileStore store;
        MacroLibrary library;
        ButtonPageLogic logic(store, library);
        const auto expected = std::make_unique<ProfileRecord>(store.current());
        switch (c.field) {
            case kValue:
                expected->dpiValues[c.stage] = c.stored;
                break;
            case kEnabled:
                expected->dpiStageEnabled[c.stage] = c.stored;
                break;
            case kStage:
                expected->dpiStage = c.stored;
                break;
            case kNone:
                break;
        }
        EXPECT_EQ(logic.OnDpiStageMessage(c.wParam, c.lParam), c.update);
        EXPECT_EQ(std::memcmp(expected.get(), &store.current(), sizeof *expected), 0);
    }
}

TEST(DpiStageModel, PushedValuesShowWithoutMessages) {
    DpiStageModel model(3);
    EXPECT_EQ(model.WindowId(), 503);
    EXPECT_EQ(model.value(), 8);
    EXPECT_TRUE(model.enabled());
    EXPECT_FALSE(model.current());
    model.SetValue(26);
    EXPECT_EQ(model.ValueText(), u"988");
    model.SetValue(126);
    EXPECT_EQ(model.ValueText(), u"4788");
    model.SetValue(1);
    EXPECT_EQ(model.ValueText(), u"38");
}

TEST(DpiStageModel, SliderReportsOnlyRealMoves) {
    DpiStageModel model(2);
    model.SetValue(26);
    EXPECT_EQ(model.OnSliderMoved(26, kDpiSliderId), std::nullopt);
    EXPECT_EQ(model.OnSliderMoved(50, 301), std::nullopt);
    EXPECT_EQ(model.value(), 26);
    EXPECT_EQ(model.OnSliderMoved(50, kDpiSliderId), std::optional<uint32_t>(0x20032));
    EXPECT_EQ(model.ValueText(), u"1900");
    EXPECT_EQ(model.OnSliderMoved(50, kDpiSliderId), std::nullopt);
}

TEST(DpiStageModel, CurrentAndEnabledStates) {
    DpiStageModel model(0);
    model.SetCurrent(true);
    EXPECT_TRUE(model.SelectorChecked());
    EXPECT_FALSE(model.EnableBoxEnabled());
    EXPECT_EQ(model.OnSelectorClicked(), 0x30001u);  // clicking the current stage again
    model.SetCurrent(false);
    EXPECT_TRUE(model.EnableBoxEnabled());
    EXPECT_EQ(model.OnSelectorClicked(), 0x30000u);

    model.SetEnabled(false);
    EXPECT_FALSE(model.SelectorEnabled());
    EXPECT_FALSE(model.SliderEnabled());
    EXPECT_EQ(model.OnEnableBoxClicked(true), 0x10001u);
    EXPECT_TRUE(model.SelectorEnabled());
    EXPECT_EQ(model.OnEnableBoxClicked(false), 0x10000u);
    EXPECT_FALSE(model.enabled());
}

// A window's messages, handled by the page, reach the profile and come back through the view.
TEST(DpiStageModel, RoundTripThroughThePage) {
    ProfileStore store;
    MacroLibrary library;
    ButtonPageLogic logic(store, library);
    DpiStageModel stage4(4);
    const std::optional<uint32_t> moved = stage4.OnSliderMoved(77, kDpiSliderId);
    ASSERT_TRUE(moved);
    EXPECT_EQ(logic.OnDpiStageMessage(*moved, stage4.WindowId()), DpiStageUpdate::kStored);
    EXPECT_EQ(logic.OnDpiStageMessage(stage4.OnSelectorClicked(), stage4.WindowId()),
              DpiStageUpdate::kCurrentChanged);
    const ButtonPageView view = MakeButtonPageView(store.current(), UsKeyboardLayout(),
                                                   [](uint16_t) { return std::u16string(); });
    EXPECT_EQ(view.dpiStages[4].value, 77);
    for (int k = 0; k < kDpiStageCount; ++k) {
        EXPECT_EQ(view.dpiStages[static_cast<std::size_t>(k)].current, k == 4) << k;
    }
}

}  // namespace
}  // namespace t30
