#include "device/feature_reports.h"

#include <gtest/gtest.h>

#include "profile/profile_store.h"
#include "report_test_util.h"

namespace t30 {
namespace {

using test::Bytes;
using test::Hex;
using test::ToHex;

class FreshProfile : public ::testing::Test {
  protected:
    ProfileStore store;
    ProfileRecord& p = store.current();
};

TEST_F(FreshProfile, SettingsReportsMatchTheKnownBytes) {
    EXPECT_EQ(ToHex(BuildDpiReport(p)),
              ToHex(Hex("04 22 08 08 1F 18 18 1A 2A 3F 2A 3F 1A 2A 3F 2A 3F 02 FF 00 00 00 FF 00 "
                        "00 00 FF FF 00 FF 00 FF FF 03")));
    EXPECT_EQ(ToHex(BuildLightingReport(p)), "05 09 04 03 08 FF 00 00 01");
    EXPECT_EQ(ToHex(BuildRateReport(p)), "06 08 02 00 00 00 00 00");
}

TEST_F(FreshProfile, DpiValuesAboveSixtyThreeTravelHalvedWithTheirRangeBit) {
    struct Case {
        int32_t value;
        uint8_t encoded;
        bool rangeBit;
    };
    const Case cases[] = {{1, 1, false},  {63, 63, false}, {64, 32, true},
                          {65, 32, true}, {126, 63, true}, {127, 63, true}};
    for (const Case& c : cases) {
        p.dpiValues[2] = c.value;
        const DpiReport r = BuildDpiReport(p);
        EXPECT_EQ(r[7 + 2], c.encoded) << c.value;
        EXPECT_EQ(r[12 + 2], c.encoded) << c.value;
        EXPECT_EQ((r[5] >> 2) & 1, c.rangeBit) << c.value;
        EXPECT_EQ(r[5], r[6]);
    }
}

TEST_F(FreshProfile, StageFiveAndNonOneEnableFlagsAreNotSent) {
    p.dpiStageEnabled[5] = 1;
    p.dpiValues[5] = 100;
    p.dpiStageEnabled[1] = 2;  // only exactly 1 counts as set
    const DpiReport r = BuildDpiReport(p);
    EXPECT_EQ(r[4], 0x1D);
    EXPECT_EQ(r[5], 0x18);
    p.dpiStage = 4;
    EXPECT_EQ(BuildDpiReport(p)[17], 5);
}

TEST_F(FreshProfile, LightingCodesFollowModeSpeedAndBrightness) {
    struct Case {
        int32_t mode, speed, brightness;
        uint8_t speedCode, brightnessCode;
    };
    const Case cases[] = {
        {1, 2, 2, 3, 5}, {1, 1, 1, 8, 1}, {1, 3, 3, 1, 8}, {1, 0, 0, 1, 8},
        {5, 2, 1, 3, 1}, {3, 2, 1, 3, 8},  // modes 2..4 always full brightness
        {2, 2, 2, 3, 8}, {4, 2, 1, 3, 8}, {0, 2, 2, 3, 5}, {6, 7, 2, 1, 5},
    };
    for (const Case& c : cases) {
        p.lightMode = c.mode;
        p.lightSpeed = c.speed;
        p.lightBrightness = c.brightness;
        const LightingReport r = BuildLightingReport(p);
        EXPECT_EQ(r[2], c.mode);
        EXPECT_EQ(r[3], c.speedCode) << "speed " << c.speed;
        EXPECT_EQ(r[4], c.brightnessCode) << "mode " << c.mode << " brightness " << c.brightness;
    }
    p.lightColour = MakeColour(0x12, 0x34, 0x56);
    EXPECT_EQ(ToHex(BuildLightingReport(p)).substr(15, 8), "12 34 56");
}

TEST_F(FreshProfile, RateOutsideTheFourButtonsIsSentAsCode2) {
    const std::pair<int32_t, uint8_t> cases[] = {{0, 8}, {1, 4},  {2, 2},  {3, 1},
                                                 {4, 2}, {-1, 2}, {255, 2}};
    for (auto [rate, code] : cases) {
        p.reportRate = rate;
        EXPECT_EQ(BuildRateReport(p)[2], code) << rate;
    }
}

// Macro pairs ------------------------------------------------------------------------------

ButtonSlot MacroSlot(std::initializer_list<MacroEvent> events, int32_t repeat = 1,
                     int32_t runMode = 0) {
    ButtonSlot s{};
    s.functionType = 18;
    s.macroRepeat = repeat;
    s.macroRunMode = runMode;
    int i = 0;
    for (const MacroEvent& e : events) {
        s.events[i++] = e;
    }
    s.eventCount = static_cast<uint16_t>(i);
    return s;
}

// Bytes 29.. of a report: the pair count, then the pairs.
std::string Pairs(const MacroReport& r) {
    std::vector<uint8_t> v(r.begin() + 29, r.begin() + 30 + 2 * r[29]);
    return ToHex(v);
}

TEST(MacroReport, KnownMacroInSlotTwo) {
    const ButtonSlot s = MacroSlot({{0x04, 1, 50}, {0x04, 2, 1000}}, 0, 1);
    const MacroReport r = BuildMacroReport(s, 2);
    EXPECT_EQ(ToHex(std::vector<uint8_t>(r.begin(), r.begin() + 5)), "09 82 03 01 01");
    for (int i = 5; i <= 28; ++i) {
        EXPECT_EQ(r[i], 0) << i;
    }
    EXPECT_EQ(Pairs(r), "03 00 04 99 04 05 03");
    for (std::size_t i = 36; i < r.size(); ++i) {
        EXPECT_EQ(r[i], 0) << i;
    }
}

TEST(MacroReport, PauseEncodingAroundTheLimits) {
    struct Case {
        const char* what;
        ButtonSlot slot;
        const char* pairs;
    };
    const Case cases[] = {
        {"254 ms fits the next event pair", MacroSlot({{0x04, 1, 254}, {0x04, 2, 0}}),
         "02 00 04 FF 04"},
        {"255 ms becomes a long pause and 55 ms", MacroSlot({{0x04, 1, 255}, {0x04, 2, 0}}),
         "03 00 04 01 03 9B 04"},
        {"trailing pause in 2 ms units", MacroSlot({{0x05, 1, 0}, {0x05, 2, 100}}),
         "03 00 05 80 05 32 00"},
        {"trailing 1 ms rounds to nothing", MacroSlot({{0x05, 1, 0}, {0x05, 2, 1}}),
         "02 00 05 80 05"},
        {"trailing 600 ms is a long pause alone", MacroSlot({{0x05, 1, 0}, {0x05, 2, 600}}),
         "03 00 05 80 05 03 03"},
        {"mouse codes pass through", MacroSlot({{0xF1, 1, 10}, {0xF1, 2, 0}}), "02 00 F1 85 F1"},
        {"release flag is any action but 1", MacroSlot({{0x04, 0, 0}, {0x04, 3, 0}}),
         "02 80 04 80 04"},
        {"no events", MacroSlot({}), "00"},
        {"a minute caps at 255 long units", MacroSlot({{0x04, 1, 65535}, {0x04, 2, 0}}),
         "03 00 04 FF 03 C3 04"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pairs(BuildMacroReport(c.slot, 0)), c.pairs) << c.what;
    }
}

TEST(MacroReport, OnlyTenPausePairsPerMacro) {
    ButtonSlot s{};
    s.functionType = 18;
    s.eventCount = 12;
    for (int i = 0; i < 12; ++i) {
        s.events[i] = {0x04, uint8_t(i % 2 ? 2 : 1), uint16_t(i < 11 ? 450 : 0)};
    }
    const MacroReport r = BuildMacroReport(s, 0);
    EXPECT_EQ(r[29], 12 + 10);
    // Pauses 1..10 each give (2, 3) then an event pair of 25 ms; the eleventh keeps only 50 ms.
    const std::string pairs = Pairs(r);
    EXPECT_NE(pairs.find("02 03 99 04"), std::string::npos);
    EXPECT_EQ(pairs.substr(pairs.size() - 5), "99 04") << pairs;
    EXPECT_EQ(pairs.substr(pairs.size() - 11, 5), "19 04") << pairs;
}

TEST(MacroReport, DamagedCountNeverRunsPastTheEventsOrTheReport) {
    ButtonSlot s{};
    s.functionType = 50;
    s.eventCount = 0xFFFF;
    for (auto& e : s.events) {
        e = {0x04, 1, 60100};
    }
    s.macroRepeat = 0x1FF;
    const MacroReport r = BuildMacroReport(s, 23);
    EXPECT_EQ(r[2], 24);
    EXPECT_EQ(r[4], 0xFF);
    EXPECT_EQ(r[29], 50);
    EXPECT_EQ(r[129 - 1], 0x32) << "the last pair fills the report exactly";
    EXPECT_EQ(r[129], 0x04);
}

}  // namespace
}  // namespace t30

namespace t30 {
namespace {

TEST(ButtonMapReport, FreshProfile) {
    ProfileStore store;
    const ButtonMapReport r = BuildButtonMapReport(store.current());
    std::vector<uint8_t> expected = test::Hex(
        "08 4C 02 00 00 03 00 00 04 00 00 05 00 00 06 00 00 01 00 00 0E 00 00 0F 00 00 "
        "07 00 0A 2A 00 00 09 00 00 0A 00 00");
    expected.resize(kButtonMapReportSize, 0);
    EXPECT_EQ(test::ToHex(r), test::ToHex(expected));
}

TEST(ButtonMapReport, EntriesByFunctionType) {
    struct Case {
        uint8_t type;
        const char* entry;
    };
    const Case cases[] = {
        {67, "11 01 06"}, {52, "11 04 2B"}, {54, "11 04 3D"},  {57, "11 08 07"}, {96, "11 08 0F"},
        {97, "11 08 15"}, {64, "11 01 12"}, {65, "11 01 11"},  {66, "11 01 1B"}, {68, "11 01 19"},
        {69, "11 01 16"}, {70, "11 01 13"}, {71, "11 01 09"},  {72, "11 01 1C"}, {76, "11 01 04"},
        {7, "07 00 0A"},  {8, "08 00 0A"},  {16, "10 00 0A"},  {18, "12 00 00"}, {50, "32 00 00"},
        {55, "37 00 00"}, {0, "00 00 00"},  {200, "C8 00 00"},
    };
    for (const Case& c : cases) {
        ProfileStore store;
        ProfileRecord& p = store.current();
        p.buttons[3].functionType = c.type;
        p.buttons[3].events[0] = {0x2C, 0x05, 0};  // ignored unless type 17
        const ButtonMapReport r = BuildButtonMapReport(p);
        EXPECT_EQ(test::ToHex(std::vector<uint8_t>(r.begin() + 11, r.begin() + 14)), c.entry)
            << int(c.type);
    }
}

TEST(ButtonMapReport, KeyCombinationSendsStoredBytesAndSlotsBeyondElevenStayOut) {
    ProfileStore store;
    ProfileRecord& p = store.current();
    p.buttons[11].functionType = 17;
    p.buttons[11].events[0] = {0x2C, 0x1E, 0};  // bits as stored, even odd ones
    p.buttons[12].functionType = 67;
    const ButtonMapReport r = BuildButtonMapReport(p);
    EXPECT_EQ(test::ToHex(std::vector<uint8_t>(r.begin() + 35, r.begin() + 38)), "11 1E 2C");
    for (std::size_t i = 38; i < r.size(); ++i) {
        EXPECT_EQ(r[i], 0) << i;
    }
}

}  // namespace
}  // namespace t30
