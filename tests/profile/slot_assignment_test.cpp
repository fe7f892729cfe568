#include "profile/slot_assignment.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/fixed_string.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

// A slot that holds a recorded macro, with every field of the macro area distinguishable.
ButtonSlot SlotWithMacro() {
    ButtonSlot slot{};
    slot.buttonIndex = 4;
    slot.functionType = kFunctionMacro;
    SetFixed(slot.macroName, u"Jump");
    slot.macroRepeat = 3;
    slot.macroIndex = 2;
    slot.eventCount = 40;
    for (int i = 0; i < kMaxMacroEvents; ++i) {
        slot.events[i] = {uint8_t(0x04 + i), uint8_t(1 + i % 2), uint16_t(10 * i + 1)};
    }
    slot.macroRunMode = 1;
    return slot;
}

bool EventsAreZero(const ButtonSlot& slot, int from = 0) {
    for (int i = from; i < kMaxMacroEvents; ++i) {
        if (slot.events[i].key || slot.events[i].action || slot.events[i].delayAfter) {
            return false;
        }
    }
    return true;
}

TEST(AssignFunction, ClearsOrKeepsTheMacroAreaByCode) {
    struct Case {
        uint8_t code;
        bool keeps;
    };
    const Case cases[] = {{3, false}, {2, false}, {67, false}, {42, false}, {0, false},
                          {8, true},  {17, true}, {18, true},  {50, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.code));
        const ButtonSlot before = SlotWithMacro();
        ButtonSlot slot = before;
        AssignFunction(slot, c.code);
        EXPECT_EQ(slot.functionType, c.code);
        EXPECT_EQ(slot.buttonIndex, 4);
        // Repeat, index and run mode survive either way.
        EXPECT_EQ(slot.macroRepeat, 3);
        EXPECT_EQ(slot.macroIndex, 2);
        EXPECT_EQ(slot.macroRunMode, 1);
        if (c.keeps) {
            EXPECT_EQ(std::memcmp(slot.events, before.events, sizeof slot.events), 0);
            EXPECT_EQ(slot.eventCount, 40);
            EXPECT_EQ(FixedView(slot.macroName), u"Jump");
        } else {
            EXPECT_TRUE(EventsAreZero(slot));
            EXPECT_EQ(slot.eventCount, 0);
            const char16_t zeroName[24] = {};
            EXPECT_EQ(std::memcmp(slot.macroName, zeroName, sizeof zeroName), 0);
        }
    }
}

TEST(AssignKeyCombination, WritesFirstEventAndKeepsTheOthers) {
    ButtonSlot slot = SlotWithMacro();
    slot.events[0].delayAfter = 77;
    AssignKeyCombination(slot, 0x06, 0x04);
    EXPECT_EQ(slot.functionType, kFunctionKeyCombination);
    EXPECT_EQ(slot.eventCount, 1);
    EXPECT_EQ(slot.events[0].key, 0x06);
    EXPECT_EQ(slot.events[0].action, 0x04);
    EXPECT_EQ(slot.events[1].key, 0x05) << "events 1..39 keep their bytes";
    EXPECT_EQ(slot.events[39].delayAfter, 391);
    EXPECT_EQ(FixedLength(slot.macroName), 0u);
    EXPECT_EQ(slot.macroRepeat, 3);
}

TEST(AssignMacro, CopiesEverythingAndCutsLongNames) {
    MacroEvent events[kMaxMacroEvents] = {};
    events[0] = {0x04, 1, 254};
    events[1] = {0x04, 2, 255};
    events[39] = {0xF1, 2, 65535};
    const char16_t longName[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // 26 units

    for (bool option : {false, true}) {
        ButtonSlot slot = SlotWithMacro();
        AssignMacro(slot, SlotMacro{longName, 9, 2, events}, option);
        EXPECT_EQ(slot.functionType, option ? kFunctionMacroOption : kFunctionMacro);
        EXPECT_EQ(slot.eventCount, 2);
        EXPECT_EQ(slot.macroRepeat, 9);
        EXPECT_EQ(std::memcmp(slot.events, events, sizeof events), 0) << "all 40 events copied";
        EXPECT_EQ(FixedView(slot.macroName), u"ABCDEFGHIJKLMNOPQRSTUVW");
        EXPECT_EQ(slot.macroName[23], 0);
        EXPECT_EQ(slot.macroIndex, 2) << "index belongs to the selection dialog";
        EXPECT_EQ(slot.macroRunMode, 1);
    }
}

TEST(AssignMacro, ShortNameLeavesNoOldCharactersBehind) {
    ButtonSlot slot = SlotWithMacro();
    SetFixed(slot.macroName, u"LongerOldName");
    MacroEvent events[kMaxMacroEvents] = {};
    AssignMacro(slot, SlotMacro{u"Go", 1, 0, events}, false);
    const char16_t expected[24] = u"Go";
    EXPECT_EQ(std::memcmp(slot.macroName, expected, sizeof expected), 0);
}

TEST(PrimaryClickRule, SomePhysicalButtonMustKeepCode2) {
    ProfileStore store;
    ProfileRecord& r = store.current();  // only button 0 has code 2
    struct Case {
        int button;
        uint8_t code;
        bool allowed;
    };
    const Case cases[] = {
        {0, 3, false},  // takes the last primary click away
        {0, 2, true},   // re-assigning it is fine
        {1, 2, true},   // a second one
        {5, 67, true},  // another button
        {12, 3, true},  // slots 12..23 are not physical buttons
        {11, 2, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeepsPrimaryClick(r, c.button, c.code), c.allowed)
            << "button " << c.button << " code " << int(c.code);
    }
    r.buttons[7].functionType = 2;
    EXPECT_TRUE(KeepsPrimaryClick(r, 0, 3)) << "button 7 still clicks";
    r.buttons[7].functionType = 15;
    r.buttons[12].functionType = 2;
    EXPECT_FALSE(KeepsPrimaryClick(r, 0, 3)) << "slot 12 does not count";
}

}  // namespace
}  // namespace t30
