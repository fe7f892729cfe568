#include "ui/controls/control_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace t30 {
namespace {

// A 200-pixel track with a 20-pixel knob: 180 pixels of travel for 0..10.
constexpr SliderTravel kTrack{0, 200, 20, 0, 10};

TEST(SliderRules, PositionOfValueIsClampedAndRoundedToThePixel) {
    struct Case {
        int value, left;
    } cases[] = {{0, 0}, {10, 180}, {5, 90}, {3, 54}, {-4, 0}, {99, 180}};
    for (const Case& c : cases) {
        EXPECT_EQ(SliderLeftOfValue(kTrack, c.value), c.left) << c.value;
    }
    // A third of 20 pixels is 6.67: the nearest pixel.
    EXPECT_EQ(SliderLeftOfValue(SliderTravel{0, 30, 10, 0, 3}, 7), 20);
    EXPECT_EQ(SliderLeftOfValue(SliderTravel{0, 30, 10, 0, 3}, 1), 7);
}

TEST(SliderRules, ValueOfPositionRoundsOnlyWhenAsked) {
    struct Case {
        int left;
        bool rounding;
        int value;
    } cases[] = {
        {83, true, 5},                                       // 46 % of the travel
        {83, false, 4},                                      //
        {81, true, 5},                                       // exactly 4.5 rounds up
        {80, true, 4},                                       //
        {0, true, 0},     {180, false, 10}, {-30, true, 0},  // beyond the ends: the end values
        {250, false, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SliderValueOfLeft(kTrack, c.left, c.rounding), c.value)
            << c.left << (c.rounding ? " rounded" : " truncated");
    }
    double exact = 0;
    SliderValueOfLeft(kTrack, 45, false, &exact);
    EXPECT_DOUBLE_EQ(exact, 2.5);
}

// A knob pressed and let go without moving must keep its value.
TEST(SliderRules, ValueAndPositionRoundTripOverARange) {
    const SliderTravel dpi{0, 260, 14, 1, 126};
    for (int v = 1; v <= 126; ++v) {
        EXPECT_EQ(SliderValueOfLeft(dpi, SliderLeftOfValue(dpi, v), true), v) << v;
    }
}

TEST(SliderRules, DegenerateRangesAndTracksGiveTheMinimum) {
    EXPECT_EQ(SliderLeftOfValue(SliderTravel{5, 200, 20, 3, 3}, 3), 5);
    EXPECT_EQ(SliderValueOfLeft(SliderTravel{0, 20, 20, 2, 9}, 0, true), 2);
    EXPECT_EQ(TrackValueOfClick(0, 1, 2, 9, true), 2);
}

TEST(SliderRules, TrackClickEndsGiveMinimumAndMaximum) {
    for (bool rounding : {false, true}) {
        EXPECT_EQ(TrackValueOfClick(0, 200, 0, 10, rounding), 0);
        EXPECT_EQ(TrackValueOfClick(199, 200, 0, 10, rounding), 10);
        EXPECT_EQ(TrackValueOfClick(199, 200, 1, 126, rounding), 126);
    }
    EXPECT_EQ(TrackValueOfClick(100, 201, 0, 10, false), 5);
    EXPECT_EQ(TrackValueOfClick(89, 201, 0, 10, false), 4);
    EXPECT_EQ(TrackValueOfClick(90, 201, 0, 10, true), 5);
}

TEST(SpinRules, LeadingIntReadsLikeTheRuntime) {
    struct Case {
        const char16_t* text;
        int value;
    } cases[] = {
        {u"", 0},
        {u"15", 15},
        {u"  7x", 7},
        {u"-3", -3},
        {u"+4", 4},
        {u"1,5", 1},
        {u"abc", 0},
        {u"99999999999", INT_MAX},
        {u"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingInt(c.text), c.value);
    }
}

TEST(SpinRules, ArrowsStepAndStopAtTheEnds) {
    const SpinRange r{1, 11, 1};
    EXPECT_EQ(SpinUp(r, u"5"), 6);
    EXPECT_EQ(SpinUp(r, u"11"), 11);
    EXPECT_EQ(SpinUp(r, u"12"), std::nullopt);  // already beyond: nothing written
    EXPECT_EQ(SpinDown(r, u"5"), 4);
    EXPECT_EQ(SpinDown(r, u"1"), 1);
    EXPECT_EQ(SpinDown(r, u"0"), std::nullopt);
    EXPECT_EQ(SpinUp(r, u""), 1);  // an empty field counts as 0, below the range
}

TEST(SpinRules, StepsSnapToMultiplesHalvesUp) {
    const SpinRange r{0, 100, 5};
    EXPECT_EQ(SpinUp(r, u"12"), 15);    // 17 snaps to 15
    EXPECT_EQ(SpinUp(r, u"13"), 20);    // 18 snaps to 20
    EXPECT_EQ(SpinDown(r, u"13"), 10);  // 8 snaps to 10
    EXPECT_EQ(SpinUp(r, u"98"), 100);
    struct Case {
        const char16_t* text;
        int value;
        bool rewrite;
    } cases[] = {{u"12", 10, true},
                 {u"13", 15, true},
                 {u"15", 15, false},
                 {u"102", 100, true},
                 {u"", 0, false}};
    for (const Case& c : cases) {
        const SpinChange ch = SpinTextChanged(r, c.text);
        EXPECT_EQ(ch.value, c.value);
        EXPECT_EQ(ch.rewrite, c.rewrite);
    }
}

TEST(SpinRules, TypedTextIsClampedIntoTheRange) {
    const SpinRange r{1, 11, 1};
    struct Case {
        const char16_t* text;
        int value;
        bool rewrite;
    } cases[] = {{u"15", 11, true}, {u"11", 11, false}, {u"7", 7, false},
                 {u"0", 1, true},   {u"", 1, true},     {u"3.5", 3, false}};
    for (const Case& c : cases) {
        const SpinChange ch = SpinTextChanged(r, c.text);
        EXPECT_EQ(ch.value, c.value);
        EXPECT_EQ(ch.rewrite, c.rewrite);
    }
    // A step of 0 would divide by zero: it counts as 1.
    EXPECT_EQ(SpinTextChanged(SpinRange{0, 10, 0}, u"4").value, 4);
    EXPECT_EQ(SpinUp(SpinRange{0, 10, 0}, u"4"), 5);
}

TEST(SpinRules, FocusLossCleansTheTextAndTellsTheOwnerOnlyInRange) {
    const SpinRange r{1, 11, 1};
    struct Case {
        const char16_t* text;
        int value;
        const char16_t* rewrite;  // nullptr: the edit keeps its text
        bool notify;
    } cases[] = {
        {u"7", 7, nullptr, true},
        {u"15", 11, u"11", true},
        {u"0012", 11, u"11", true},  // leading zeros dropped, then clamped
        {u"07", 7, nullptr, true},   // read as 7 once the zero is dropped: left as typed
        {u"0", 1, u"1", true},       // a zero below the range becomes the minimum
        {u"", 0, nullptr, false},    // nothing typed: nothing told
        {u"1,5", 1, u"1", true},
        {u"-", 1, nullptr, true},  // a lone sign reads as 0, below the range: the minimum
    };
    for (const Case& c : cases) {
        const SpinLeave out = SpinFocusLost(r, c.text);
        EXPECT_EQ(out.value, c.value);
        EXPECT_EQ(out.notify, c.notify);
        if (c.rewrite == nullptr) {
            EXPECT_EQ(out.rewrite, std::nullopt);
        } else {
            EXPECT_EQ(out.rewrite, std::u16string(c.rewrite));
        }
    }
    // Below the minimum but not zero: kept, and the owner hears nothing.
    const SpinLeave low = SpinFocusLost(SpinRange{5, 11, 1}, u"3");
    EXPECT_EQ(low.value, 3);
    EXPECT_FALSE(low.notify);
}

TEST(SpinRules, TextLimitFollowsTheMaximum) {
    EXPECT_EQ(SpinTextLimit(1, 11), 2);
    EXPECT_EQ(SpinTextLimit(0, 126), 3);
    EXPECT_EQ(SpinTextLimit(-5, 10), 3);
    EXPECT_EQ(SpinTextLimit(0, 9), 1);
}

TEST(EditRules, NumericFilterKeepsDigitsStopsAndCommas) {
    struct Case {
        const char16_t* in;
        const char16_t* out;
        bool changed;
    } cases[] = {{u"1,5.0x", u"1,5.0", true},
                 {u"A7", u"7", true},
                 {u"123", u"123", false},
                 {u"", u"", false},
                 {u"-3", u"3", true},
                 {u"\u0661\u0662", u"", true}};  // other scripts' digits are not ours
    for (const Case& c : cases) {
        std::u16string text = c.in;
        EXPECT_EQ(FilterNumericText(text), c.changed);
        EXPECT_EQ(text, c.out);
    }
}

TEST(ListRules, CommitOfNewRowsAndRenames) {
    struct Case {
        bool newRow, renaming;
        const char16_t* text;
        bool remove, insert;
        unsigned notify;
    } cases[] = {
        {true, false, u"Macro 1", true, true, kListNewRowCommitted},
        {true, false, u"", true, false, 0},  // an empty new row goes away silently
        {false, true, u"New name", true, true, kListRowRenamed},
        {false, true, u"", false, false, 0},  // an empty rename keeps the old row
        {false, false, u"250", true, true, kListNewRowCommitted},  // pause edit of an event row
    };
    for (const Case& c : cases) {
        const ListCommit out = CommitListEdit(c.newRow, c.renaming, c.text);
        EXPECT_EQ(out.removeRow, c.remove);
        EXPECT_EQ(out.insertRow, c.insert);
        EXPECT_EQ(out.notify, c.notify);
    }
    EXPECT_TRUE(CancelRemovesRow(true));
    EXPECT_FALSE(CancelRemovesRow(false));
    EXPECT_EQ(ListEditLimit(true), 15);
    EXPECT_EQ(ListEditLimit(false), 20);
}

}  // namespace
}  // namespace t30
