#include "macro/macro_library.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "base/fixed_string.h"
#include "faulty_writer.h"
#include "macro_test_util.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

using testing::FaultyWriter;
using testing::MakeMacro;
using testing::TempFolder;

std::u16string NameOf(const MacroRecord& r) {
    return std::u16string(FixedView(r.name));
}

std::string Image(const MacroRecord& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

class MacroLibraryFile : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directory(dir_ / "config"); }
    std::filesystem::path file() const { return MacroLibraryPath(dir_.path()); }
    TempFolder dir_;
};

TEST_F(MacroLibraryFile, EmptyLibrarySavesAsZeroBytesAndLoadsEmpty) {
    MacroLibrary library;
    ASSERT_TRUE(SaveMacroLibrary(library, dir_.path()));
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
    MacroLibrary loaded;
    EXPECT_TRUE(LoadMacroLibrary(loaded, dir_.path()));
    EXPECT_TRUE(loaded.empty());
}

TEST_F(MacroLibraryFile, SaveLoadKeepsOrderAndAppends) {
    MacroLibrary library;
    library.Append(MakeMacro(u"One", 2));
    library.Append(MakeMacro(u"Two", 40, 9, 255, 1));
    library.Append(MakeMacro(u"Three", 0));
    ASSERT_TRUE(SaveMacroLibrary(library, dir_.path()));
    EXPECT_EQ(std::filesystem::file_size(file()), 3 * 220u);

    MacroLibrary loaded;
    loaded.Append(MakeMacro(u"Already", 1));
    ASSERT_TRUE(LoadMacroLibrary(loaded, dir_.path()));
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(NameOf(loaded[0]), u"Already");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(Image(loaded[i + 1]) == Image(library[i])) << i;
    }
}

TEST_F(MacroLibraryFile, MissingFileLeavesLibraryAsItIs) {
    MacroLibrary library;
    library.Append(MakeMacro(u"Kept", 1));
    EXPECT_FALSE(LoadMacroLibrary(library, dir_.path()));
    EXPECT_EQ(library.size(), 1u);
}

TEST_F(MacroLibraryFile, PartialTrailingRecordIsIgnored) {
    const MacroRecord a = MakeMacro(u"A", 3), b = MakeMacro(u"B", 4);
    const std::string content = Image(a) + Image(b) + std::string(100, '\x7F');
    std::ofstream(file(), std::ios::binary) << content;
    MacroLibrary library;
    ASSERT_TRUE(LoadMacroLibrary(library, dir_.path()));
    ASSERT_EQ(library.size(), 2u);
    EXPECT_EQ(NameOf(library[1]), u"B");
    EXPECT_EQ(ReadFileBytes(file()).value().size(), content.size()) << "load does not write";
}

TEST_F(MacroLibraryFile, DamagedRecordsAreRepairedOnLoad) {
    MacroRecord tooMany = MakeMacro(u"Many", 40);
    tooMany.eventCount = 41;
    MacroRecord negative = MakeMacro(u"Neg", 1);
    negative.eventCount = -3;
    MacroRecord unterminated = MakeMacro(u"", 1);
    for (char16_t& c : unterminated.name) {
        c = u'x';
    }
    std::ofstream(file(), std::ios::binary)
        << Image(tooMany) + Image(negative) + Image(unterminated);
    MacroLibrary library;
    ASSERT_TRUE(LoadMacroLibrary(library, dir_.path()));
    ASSERT_EQ(library.size(), 3u);
    EXPECT_EQ(library[0].eventCount, 40);
    EXPECT_EQ(library[1].eventCount, 0);
    EXPECT_EQ(NameOf(library[2]), std::u16string(23, u'x'));
}

TEST_F(MacroLibraryFile, FailedSaveAtAnyStepKeepsTheOldFile) {
    MacroLibrary oldLibrary, newLibrary;
    oldLibrary.Append(MakeMacro(u"Old", 5));
    newLibrary.Append(MakeMacro(u"New", 6));
    newLibrary.Append(MakeMacro(u"Newer", 7));
    ASSERT_TRUE(SaveMacroLibrary(oldLibrary, dir_.path()));
    const std::string oldImage = ReadFileBytes(file()).value();
    for (int step = 1;; ++step) {
        FaultyWriter writer(step);
        const bool ok = SaveMacroLibrary(newLibrary, dir_.path(), writer);
        if (!writer.failed()) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(ReadFileBytes(file()).value().size(), 2 * 220u);
            break;
        }
        EXPECT_FALSE(ok) << step;
        EXPECT_TRUE(ReadFileBytes(file()).value() == oldImage) << step;
        MacroLibrary loaded;
        ASSERT_TRUE(LoadMacroLibrary(loaded, dir_.path()));
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(NameOf(loaded[0]), u"Old");
    }
}

TEST_F(MacroLibraryFile, LeftoverTemporaryFileIsNotRead) {
    MacroLibrary library;
    library.Append(MakeMacro(u"Real", 2));
    ASSERT_TRUE(SaveMacroLibrary(library, dir_.path()));
    std::ofstream(TemporaryPathFor(file()), std::ios::binary) << std::string(220 * 3, 'g');
    MacroLibrary loaded;
    ASSERT_TRUE(LoadMacroLibrary(loaded, dir_.path()));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(NameOf(loaded[0]), u"Real");
}

TEST(MacroNames, FindTrimsOnlyTheLibrarysNamesAndIgnoresCase) {
    MacroLibrary library;
    library.Append(MakeMacro(u"jump ", 1));
    library.Append(MakeMacro(u"\u3000Fire\t", 1));
    library.Append(MakeMacro(u"\u0416\u00C9l", 1));
    const struct {
        const char16_t* query;
        bool found;
    } cases[] = {
        {u"jump", true},          {u"JUMP", true}, {u"jump ", false},
        {u" jump", false},        {u"fire", true}, {u"fir", false},
        {u"\u0436\u00E9L", true}, {u"", false},    {u"jump_1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindMacroByName(library, c.query), c.found)
            << std::string(c.query, c.query + std::char_traits<char16_t>::length(c.query));
    }
}

TEST(MacroNames, FreeNamesTakeTheFirstFreeSuffix) {
    MacroLibrary library;
    EXPECT_EQ(UniqueMacroName(library, u"Jump"), u"Jump");
    library.Append(MakeMacro(u"Jump", 1));
    EXPECT_EQ(UniqueMacroName(library, u"Jump"), u"Jump_1");
    library.Append(MakeMacro(u"jump_1", 1));
    EXPECT_EQ(UniqueMacroName(library, u"JUMP"), u"JUMP_2");

    MacroLibrary spaced;
    spaced.Append(MakeMacro(u"jump ", 1));
    EXPECT_EQ(UniqueMacroName(spaced, u"JUMP"), u"JUMP_1");

    const std::u16string longName(23, u'a');
    MacroLibrary full;
    full.Append(MakeMacro(longName, 1));
    EXPECT_EQ(UniqueMacroName(full, longName), std::u16string(21, u'a') + u"_1");
    for (int n = 1; n <= 10; ++n) {
        full.Append(MakeMacro(UniqueMacroName(full, longName), 1));
    }
    EXPECT_EQ(NameOf(full[10]), std::u16string(20, u'a') + u"_10");
}

ButtonSlot MacroSlot(std::u16string_view name, const MacroRecord& events, uint8_t type = 18) {
    ButtonSlot slot;
    std::memset(&slot, 0, sizeof slot);
    slot.functionType = type;
    SetFixed(slot.macroName, name);
    slot.eventCount = static_cast<uint16_t>(events.eventCount);
    std::memcpy(slot.events, events.events, sizeof slot.events);
    slot.macroRepeat = 9;
    slot.macroIndex = 7;
    slot.macroRunMode = 2;
    return slot;
}

TEST(MacroMatch, NameAndEventsDecide) {
    MacroLibrary library;
    library.Append(MakeMacro(u"Other", 2));
    library.Append(MakeMacro(u" Jump ", 3));
    const MacroRecord same = MakeMacro(u"", 3);
    MacroRecord changedEvent = same;
    changedEvent.events[2].delayAfter = 999;
    MacroRecord beyondCount = same;
    beyondCount.events[3] = {1, 1, 1};  // past eventCount: not compared

    const struct {
        const char* what;
        ButtonSlot slot;
        int index;
        bool identical;
    } cases[] = {
        {"same", MacroSlot(u"JUMP", same), 1, true},
        {"bytes past the count", MacroSlot(u"jump", beyondCount), 1, true},
        {"other event", MacroSlot(u"Jump", changedEvent), 1, false},
        {"other count", MacroSlot(u"Jump", MakeMacro(u"", 2)), 1, false},
        {"slot name is not trimmed", MacroSlot(u"Jump ", same), -1, false},
        {"unknown", MacroSlot(u"Run", same), -1, false},
    };
    for (const auto& c : cases) {
        const SlotMatch m = MatchSlotMacro(library, c.slot);
        EXPECT_EQ(m.index, c.index) << c.what;
        EXPECT_EQ(m.identical, c.identical) << c.what;
    }
}

TEST(MacroMatch, AddFromSlotMakesALockedEntryWithRepeatZero) {
    MacroLibrary library;
    ButtonSlot slot = MacroSlot(u"Dash", MakeMacro(u"", 40));
    slot.eventCount = 300;  // beyond what a slot holds
    std::memset(slot.events + 5, 0xAB, 4);
    AddMacroFromSlot(library, slot);
    ASSERT_EQ(library.size(), 1u);
    const MacroRecord& r = library[0];
    EXPECT_EQ(r.locked, 1);
    EXPECT_EQ(NameOf(r), u"Dash");
    EXPECT_EQ(r.repeatCount, 0);
    EXPECT_EQ(r.eventCount, 40);
    EXPECT_EQ(0, std::memcmp(r.events, slot.events, sizeof r.events));

    ButtonSlot shortSlot = MacroSlot(u"", MakeMacro(u"", 2));
    for (char16_t& c : shortSlot.macroName) {
        c = u'n';  // no terminator
    }
    AddMacroFromSlot(library, shortSlot);
    EXPECT_EQ(NameOf(library[1]), std::u16string(23, u'n'));
    EXPECT_EQ(library[1].eventCount, 2);
    const MacroEvent zero{0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&library[1].events[2], &zero, sizeof zero)) << "rest stays zero";
}

class SlotsAndLibrary : public ::testing::Test {
  protected:
    SlotsAndLibrary() : block_(std::make_unique<ProfileBlock>()) {
        std::memset(block_.get(), 0, sizeof *block_);
        makeDefaults(*block_);
        jump_ = MakeMacro(u"Jump", 3, 0x2C, 5);
        library_.Append(MakeMacro(u"Other", 1));
        library_.Append(jump_);
    }
    ButtonSlot& slot(int p, int b) { return block_->profiles[p].buttons[b]; }

    std::unique_ptr<ProfileBlock> block_;
    MacroLibrary library_;
    MacroRecord jump_;
};

TEST_F(SlotsAndLibrary, RefreshPushesEntriesIntoSlots0To15) {
    const MacroRecord stale = MakeMacro(u"", 2, 0x10);
    slot(0, 3) = MacroSlot(u"jump", stale);
    slot(4, 15) = MacroSlot(u"JUMP", stale);
    slot(1, 16) = MacroSlot(u"Jump", stale);     // beyond the refreshed slots
    slot(2, 5) = MacroSlot(u"Jump", stale, 50);  // the option type is left alone
    const ButtonSlot untouched16 = slot(1, 16), untouched50 = slot(2, 5);

    RefreshSlotsFromLibrary(library_, *block_);

    for (const ButtonSlot* s : {&slot(0, 3), &slot(4, 15)}) {
        EXPECT_EQ(s->functionType, 18);
        EXPECT_EQ(FixedView(s->macroName), u"Jump");
        EXPECT_EQ(s->eventCount, 3);
        EXPECT_EQ(0, std::memcmp(s->events, jump_.events, sizeof s->events));
        EXPECT_EQ(s->macroRepeat, 5);
        EXPECT_EQ(s->macroIndex, 7) << "the selection dialog's index stays";
        EXPECT_EQ(s->macroRunMode, 2);
    }
    EXPECT_EQ(0, std::memcmp(&slot(1, 16), &untouched16, sizeof(ButtonSlot)));
    EXPECT_EQ(0, std::memcmp(&slot(2, 5), &untouched50, sizeof(ButtonSlot)));
}

TEST_F(SlotsAndLibrary, RefreshTurnsSlotsOfADeletedEntryIntoType1) {
    slot(0, 3) = MacroSlot(u"Jump", jump_);
    slot(0, 20) = MacroSlot(u"Jump", jump_);
    slot(0, 4) = MacroSlot(u"Jump", jump_, 50);
    slot(3, 0) = MacroSlot(u"", jump_);  // nameless: not a macro slot
    const ButtonSlot keep20 = slot(0, 20), keep50 = slot(0, 4), keepNameless = slot(3, 0);
    library_.Erase(1);

    RefreshSlotsFromLibrary(library_, *block_);

    EXPECT_EQ(slot(0, 3).functionType, 1);
    EXPECT_EQ(slot(0, 3).eventCount, 0);
    EXPECT_EQ(slot(0, 3).macroName[0], 0);
    EXPECT_EQ(0, std::memcmp(&slot(0, 20), &keep20, sizeof(ButtonSlot)));
    EXPECT_EQ(0, std::memcmp(&slot(0, 4), &keep50, sizeof(ButtonSlot)));
    EXPECT_EQ(0, std::memcmp(&slot(3, 0), &keepNameless, sizeof(ButtonSlot)));
}

TEST_F(SlotsAndLibrary, SyncAddsMissingAndOverwritesChangedEvents) {
    MacroRecord jumpEdited = MakeMacro(u"", 4, 0x30);
    slot(1, 22) = MacroSlot(u"Sprint", MakeMacro(u"", 6, 0x20));  // slot 22 is visited too
    slot(2, 2) = MacroSlot(u"jump", jumpEdited);
    slot(3, 3) = MacroSlot(u"Other", MakeMacro(u"", 1));      // identical: nothing
    slot(4, 4) = MacroSlot(u"Ghost", MakeMacro(u"", 2), 50);  // type 50: not visited
    const std::string otherBefore = Image(library_[0]);

    SyncLibraryFromSlots(library_, *block_);

    ASSERT_EQ(library_.size(), 3u);
    EXPECT_TRUE(Image(library_[0]) == otherBefore);
    const MacroRecord& jump = library_[1];
    EXPECT_EQ(NameOf(jump), u"Jump") << "name, lock and repeat stay";
    EXPECT_EQ(jump.locked, 0);
    EXPECT_EQ(jump.repeatCount, 5);
    EXPECT_EQ(jump.eventCount, 4);
    EXPECT_EQ(0, std::memcmp(jump.events, jumpEdited.events, sizeof jump.events));
    const MacroRecord& sprint = library_[2];
    EXPECT_EQ(NameOf(sprint), u"Sprint");
    EXPECT_EQ(sprint.locked, 1);
    EXPECT_EQ(sprint.repeatCount, 0);
    EXPECT_EQ(sprint.eventCount, 6);

    SyncLibraryFromSlots(library_, *block_);
    EXPECT_EQ(library_.size(), 3u) << "a second sync finds everything in place";
}

}  // namespace
}  // namespace t30
