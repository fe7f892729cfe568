#include "ui/skin/skin_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace t30 {
namespace {

struct EntryCase {
    const char16_t* value;
    const char16_t* name;
    std::int32_t left, top, right, bottom;
    const char16_t* text;
};

class SkinEntryGrammar : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SkinEntryGrammar, Parses) {
    const EntryCase& c = GetParam();
    const SkinEntry e = ParseSkinEntry(c.value);
    EXPECT_EQ(e.name, c.name);
    EXPECT_EQ(e.left, c.left);
    EXPECT_EQ(e.top, c.top);
    EXPECT_EQ(e.right, c.right);
    EXPECT_EQ(e.bottom, c.bottom);
    EXPECT_EQ(e.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinEntryGrammar,
    ::testing::Values(
        // Five fields: the height doubles as the text.
        EntryCase{u"a,10,20,30,40", u"a", 10, 20, 40, 60, u"40"},
        EntryCase{u"a,10,20,30,40,Save file", u"a", 10, 20, 40, 60, u"Save file"},
        // No name: the first number becomes the name and the rest shift left.
        EntryCase{u"10,20,30,40", u"10", 20, 30, 60, 30, u"40"},
        EntryCase{u"", u"", 0, 0, 0, 0, u""},
        // No comma at all: no name, the whole value is the remainder.
        EntryCase{u"ok", u"", 0, 0, 0, 0, u"ok"}, EntryCase{u"12", u"", 12, 0, 12, 0, u"12"},
        // Reading stops at the first character that does not fit "%d,%d,%d,%d".
        EntryCase{u"b,1,2 ,3,4", u"b", 1, 2, 1, 2, u"4"},
        EntryCase{u"b, 1, -2,+3,4,  Tip text \t", u"b", 1, -2, 4, 2, u"Tip text"},
        EntryCase{u"b,x,2,3,4", u"b", 0, 0, 0, 0, u"4"},
        EntryCase{u"b,5,,3,4", u"b", 5, 0, 5, 0, u"4"},
        // Values beyond 32 bits saturate instead of wrapping.
        EntryCase{u"b,99999999999,0,10,0", u"b", 2147483647, 0, 2147483647, 0, u"0"},
        EntryCase{u"b,2147483647,0,10,0", u"b", 2147483647, 0, 2147483647, 0, u"0"}));

TEST(SkinEntryLimits, OverlongNameAndTextAreCut) {
    const std::u16string name(60, u'n');
    const std::u16string text(150, u't');
    const SkinEntry e = ParseSkinEntry(name + u",1,2,3,4," + text);
    EXPECT_EQ(e.name, name.substr(0, SkinEntry::kMaxName));
    EXPECT_EQ(e.text, text.substr(0, SkinEntry::kMaxText));
    EXPECT_EQ(e.right, 4);
    EXPECT_EQ(e.bottom, 6);

    // Exactly at the limits nothing is lost.
    const SkinEntry exact = ParseSkinEntry(name.substr(0, 39) + u",0,0,0,0," + text.substr(0, 99));
    EXPECT_EQ(exact.name.size(), 39u);
    EXPECT_EQ(exact.text.size(), 99u);
}

TEST(SkinEntryLimits, TextIsCutAfterTrimming) {
    const std::u16string text = u"   " + std::u16string(99, u'x') + u"   ";
    EXPECT_EQ(ParseSkinEntry(u"a,0,0,0,0," + text).text, std::u16string(99, u'x'));
}

}  // namespace
}  // namespace t30
