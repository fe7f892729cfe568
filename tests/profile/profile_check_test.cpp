#include "profile/profile_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "base/fixed_string.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

std::unique_ptr<ProfileRecord> Fresh(int number = 2) {
    auto p = std::make_unique<ProfileRecord>();
    std::memset(p.get(), 0, sizeof *p);
    MakeProfileDefaults(*p, number);
    return p;
}

// A macro slot as the selection dialog leaves it, so the macro fields are looked at.
void MakeMacroSlot(ButtonSlot& slot) {
    slot.functionType = 18;
    SetFixed(slot.macroName, u"Jump");
    slot.macroRepeat = 2;
    slot.macroRunMode = 1;
    slot.eventCount = 2;
    slot.events[0] = {0x2C, kActionPress, 10};
    slot.events[1] = {0x2C, kActionRelease, 0};
}

void FillProgramPath(ProfileRecord& p, bool leaveTerminator) {
    for (char16_t& c : p.programPath) {
        c = u'x';
    }
    p.programPath[0] = u'C';
    p.programPath[1] = u':';
    p.programPath[2] = u'\\';
    if (leaveTerminator) {
        p.programPath[499] = u'\0';
    }
}

// Each field with the last value that is still sound and the first one that is not.
struct FieldCase {
    const char* field;
    std::function<void(ProfileRecord&, bool inside)> set;
};

const FieldCase kFieldCases[] = {
    {"programPath", [](ProfileRecord& p, bool in) { FillProgramPath(p, in); }},
    {"programPath",
     [](ProfileRecord& p, bool in) {
         SetFixed(p.programPath, in ? u"C:\\Games\\game.exe" : u"C:\\Games\\ga\x01me.exe");
     }},
    {"programPath",
     [](ProfileRecord& p, bool in) {
         SetFixed(p.programPath, in ? u"\\\\server\\x.exe" : u"Games\\game.exe");
     }},
    {"programPath",
     [](ProfileRecord& p, bool in) {
         SetFixed(p.programPath, in ? u"C:\\\xD83D\xDE00.exe" : u"C:\\\xD83D.exe");
     }},
    {"programPath", [](ProfileRecord& p,
                       bool in) { SetFixed(p.programPath, in ? u"C:\\a b.exe" : u"C:\\a|b.exe"); }},
    {"doubleClickIndex", [](ProfileRecord& p, bool in) { p.doubleClickIndex = in ? 10 : 11; }},
    {"doubleClickIndex", [](ProfileRecord& p, bool in) { p.doubleClickIndex = in ? 0 : -1; }},
    {"wheelLines", [](ProfileRecord& p, bool in) { p.wheelLines = in ? 1 : 0; }},
    {"wheelLines", [](ProfileRecord& p, bool in) { p.wheelLines = in ? 11 : 12; }},
    {"wheelPageScroll", [](ProfileRecord& p, bool in) { p.wheelPageScroll = in ? 1 : 2; }},
    {"pointerSpeed", [](ProfileRecord& p, bool in) { p.pointerSpeed = in ? 1 : 0; }},
    {"pointerSpeed", [](ProfileRecord& p, bool in) { p.pointerSpeed = in ? 11 : 12; }},
    {"enhancePrecision", [](ProfileRecord& p, bool in) { p.enhancePrecision = in ? 1 : -1; }},
    {"sensitivityLinked", [](ProfileRecord& p, bool in) { p.sensitivityLinked = in ? 0 : 2; }},
    {"sensitivity", [](ProfileRecord& p, bool in) { p.sensitivityX = in ? 20 : 21; }},
    {"sensitivity", [](ProfileRecord& p, bool in) { p.sensitivityY = in ? 1 : 3; }},
    {"dpiValues", [](ProfileRecord& p, bool in) { p.dpiValues[0] = in ? 1 : 0; }},
    {"dpiValues", [](ProfileRecord& p, bool in) { p.dpiValues[5] = in ? 126 : 127; }},
    {"dpiStageEnabled", [](ProfileRecord& p, bool in) { p.dpiStageEnabled[5] = in ? 1 : 2; }},
    {"dpiStage", [](ProfileRecord& p, bool in) { p.dpiStage = in ? 5 : 6; }},
    {"dpiStage", [](ProfileRecord& p, bool in) { p.dpiStage = in ? 0 : -1; }},
    {"lightBrightness", [](ProfileRecord& p, bool in) { p.lightBrightness = in ? 1 : 0; }},
    {"lightBrightness", [](ProfileRecord& p, bool in) { p.lightBrightness = in ? 3 : 4; }},
    {"lightSpeed", [](ProfileRecord& p, bool in) { p.lightSpeed = in ? 3 : 4; }},
    {"reportRate", [](ProfileRecord& p, bool in) { p.reportRate = in ? 3 : 4; }},
    {"reportRate", [](ProfileRecord& p, bool in) { p.reportRate = in ? 0 : -1; }},
    {"lightMode", [](ProfileRecord& p, bool in) { p.lightMode = in ? 6 : 7; }},
    {"lightMode", [](ProfileRecord& p, bool in) { p.lightMode = in ? 0 : -1; }},
    {"lightColour",
     [](ProfileRecord& p, bool in) { p.lightColour = in ? 0x00FFFFFF : 0x01000000; }},
    {"stageColours",
     [](ProfileRecord& p, bool in) { p.stageColours[4] = in ? 0x00FFFFFF : 0xFF000000; }},
    {"functionType", [](ProfileRecord& p, bool in) { p.buttons[3].functionType = in ? 97 : 0; }},
    {"functionType", [](ProfileRecord& p, bool in) { p.buttons[20].functionType = in ? 0 : 255; }},
    {"buttonIndex", [](ProfileRecord& p, bool in) { p.buttons[7].buttonIndex = in ? 7 : 8; }},
    {"buttonIndex", [](ProfileRecord& p, bool in) { p.buttons[23].buttonIndex = in ? 0 : 22; }},
    {"eventCount", [](ProfileRecord& p, bool in) { p.buttons[1].eventCount = in ? 40 : 41; }},
    {"key combination",
     [](ProfileRecord& p, bool in) {
         p.buttons[2].functionType = 17;
         p.buttons[2].eventCount = in ? 1 : 2;
         p.buttons[2].events[0] = {0x04, 0x1F, 0};
     }},
    {"key combination",
     [](ProfileRecord& p, bool in) {
         p.buttons[2].functionType = 17;
         p.buttons[2].eventCount = 1;
         p.buttons[2].events[0] = {0x04, static_cast<uint8_t>(in ? 0x1F : 0x20), 0};
     }},
    {"macroRepeat",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         p.buttons[4].macroRepeat = in ? 255 : 256;
     }},
    {"macroRepeat",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         p.buttons[4].macroRepeat = in ? 0 : -1;
     }},
    {"macroRunMode",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         p.buttons[4].functionType = 50;
         p.buttons[4].macroRunMode = in ? 2 : 3;
     }},
    {"macroName",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         for (char16_t& c : p.buttons[4].macroName) {
             c = u'M';
         }
         if (in) {
             p.buttons[4].macroName[23] = u'\0';
         }
     }},
    {"events",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         p.buttons[4].events[1].action = in ? kActionRelease : 3;
     }},
    {"events",
     [](ProfileRecord& p, bool in) {
         MakeMacroSlot(p.buttons[4]);
         p.buttons[4].events[0].key = in ? 0xF5 : 0xF6;
     }},
    {"primary click",
     [](ProfileRecord& p, bool in) {
         p.buttons[0].functionType = 3;
         p.buttons[11].functionType = in ? 2 : 3;
     }},
};

TEST(ProfileCheck, FreshProfilesAreSound) {
    for (int number = 1; number <= kProfileCount; ++number) {
        EXPECT_EQ(FirstUnsoundField(*Fresh(number)), "") << number;
    }
    auto restored = Fresh();
    restoreButtonDefaults(*restored);
    EXPECT_EQ(FirstUnsoundField(*restored), "");
}

TEST(ProfileCheck, EachFieldJustInsideAndJustOutsideItsRange) {
    for (const FieldCase& c : kFieldCases) {
        auto inside = Fresh();
        c.set(*inside, true);
        EXPECT_EQ(FirstUnsoundField(*inside), "") << c.field << " just inside";
        auto outside = Fresh();
        c.set(*outside, false);
        EXPECT_EQ(FirstUnsoundField(*outside), c.field) << c.field << " just outside";
    }
}

// Events past the count and the macro area of slots that carry no macro are never sent.
TEST(ProfileCheck, BytesNothingSendsAreNotLookedAt) {
    auto p = Fresh();
    MakeMacroSlot(p->buttons[4]);
    p->buttons[4].events[2] = {0xFF, 9, 0};
    p->buttons[5].events[0] = {0xFF, 9, 0};
    p->buttons[5].macroRepeat = -5;
    p->buttons[5].macroRunMode = 77;
    p->reserved1588[0] = -1;
    p->reserved1724 = 0x7FFFFFFF;
    p->buttons[9].reserved236[0] = 0xEE;
    for (char16_t& c : p->name) {
        c = u'N';
    }
    EXPECT_EQ(FirstUnsoundField(*p), "");
}

TEST(ProfileCheck, BytesOfAnotherKindOfFileAreRefused) {
    const struct {
        const char* what;
        unsigned char fill;
    } cases[] = {{"zeros", 0x00}, {"ones", 0xFF}, {"text", 'A'}};
    for (const auto& c : cases) {
        auto p = Fresh();
        std::memset(p.get(), c.fill, sizeof *p);
        EXPECT_FALSE(IsSoundProfile(*p)) << c.what;
    }
}

}  // namespace
}  // namespace t30
