#include "ui/page_logic/advanced_page_logic.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/fixed_string.h"
#include "fake_hook.h"
#include "faulty_writer.h"
#include "macro/macro_file.h"
#include "macro_test_util.h"

namespace t30 {
namespace {

constexpr uint8_t kUsageA = 0x04, kUsageB = 0x05;
constexpr uint32_t kRelease = kHookKeyReleased;

using testing::MacroOf;

// `n` presses of keys 0x04.. without pauses.
std::vector<MacroEvent> Presses(int n) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < n; ++i) {
        events.push_back({uint8_t(0x04 + i % 20), kActionPress, 0});
    }
    return events;
}

// The window as the page logic sees it: it keeps what it is told, and the repeat-count field
// notifies after every change of its text, later (posted), as the real field does.
class FakePage : public AdvancedPageView {
  public:
    void SetSlider(int id, int value) override { sliders[id] = value; }
    void SetSpin(int id, int value) override { spins[id] = value; }
    void SetPrecisionCheck(bool on) override { precision = on; }
    void SetPageScrollCheck(bool on) override { pageScroll = on; }
    void EnableWheelSlider(bool on) override { wheelSliderEnabled = on; }
    void SetMacroLines(const std::vector<std::u16string>& names) override { macroLines = names; }
    void SelectMacroLine(int line) override { highlighted = line; }
    void DeleteMacroLine(int line) override {
        macroLines.erase(macroLines.begin() + line);
        highlighted = -1;
    }
    void AppendMacroLine(const std::u16string& name) override { macroLines.push_back(name); }
    void SetEventLines(const std::vector<EventLine>& lines, int caret) override {
        eventLines = lines;
        shownCaret = caret;
    }
    void ReplaceEventLine(int line, const EventLine& content) override {
        eventLines[std::size_t(line)] = content;
    }
    void OpenPauseEditor(int line) override { pauseEditorLine = line; }
    void SetRepeatText(const std::u16string& text) override {
        repeatText = text;
        pendingRepeat.push_back(text);
    }
    void EnableRepeatEdit(bool on) override { repeatEnabled = on; }
    void ShowRecordPressed(bool on) override { recordPressed = on; }
    void EnableForRecording(bool idle) override { controlsEnabled = idle; }
    WindowRef HookTarget() override { return this; }
    void WarnNoMacro() override { ++noMacroWarnings; }
    void WarnLocked() override { ++lockedWarnings; }
    bool ConfirmDelete() override {
        ++confirmations;
        return answerOk;
    }
    void MacrosDeleted() override { ++relabels; }

    std::map<int, int> sliders, spins;
    bool precision = false, pageScroll = false, wheelSliderEnabled = true;
    std::vector<std::u16string> macroLines;
    int highlighted = -1;
    std::vector<EventLine> eventLines;
    int shownCaret = -2;
    int pauseEditorLine = -1;
    std::u16string repeatText;
    std::deque<std::u16string> pendingRepeat;
    bool repeatEnabled = true, recordPressed = false, controlsEnabled = true;
    int noMacroWarnings = 0, lockedWarnings = 0, confirmations = 0, relabels = 0;
    bool answerOk = true;
};

class AdvancedPage : public ::testing::Test, public TickClock, public KeyUsageMap {
  protected:
    AdvancedPage() { std::filesystem::create_directories(folder_ / "config"); }

    uint32_t NowMs() override { return now_; }
    std::optional<uint8_t> UsageForVirtualKey(uint32_t vk) override {
        if (vk >= 'A' && vk <= 'Z') {
            return uint8_t(0x04 + (vk - 'A'));
        }
        return std::nullopt;
    }

    // Delivers the repeat field's posted notifications, as the message loop would.
    void Pump() {
        while (!page_.pendingRepeat.empty()) {
            const std::u16string text = page_.pendingRepeat.front();
            page_.pendingRepeat.pop_front();
            logic_.OnRepeatTextChanged(text);
        }
    }
    void Load(std::vector<MacroRecord> macros) {
        for (const MacroRecord& m : macros) {
            library_.Append(m);
        }
        logic_.RefreshMacroList();
        Pump();
    }
    void Select(int line) {
        page_.highlighted = line;  // the user's click
        logic_.OnMacroSelectionChanged(line);
        Pump();
    }
    // Line index of the first line whose value is `value`.
    int LineOf(uint32_t value) const {
        for (std::size_t i = 0; i < page_.eventLines.size(); ++i) {
            if (page_.eventLines[i].value == value) {
                return int(i);
            }
        }
        return -1;
    }
    MacroRecord Saved(std::size_t index) const {
        MacroLibrary onDisk;
        LoadMacroLibrary(onDisk, folder_);
        return index < onDisk.size() ? onDisk[index] : MacroRecord{};
    }
    std::size_t SavedCount() const {
        MacroLibrary onDisk;
        LoadMacroLibrary(onDisk, folder_);
        return onDisk.size();
    }
    bool LibraryFileExists() const { return std::filesystem::exists(MacroLibraryPath(folder_)); }
    void Key(uint32_t vk, uint32_t flags, uint32_t pause) {
        now_ += pause;
        logic_.OnHookKey(vk, flags);
    }

    // Made exclusively: ctest runs these in parallel processes, and a name built from the
    // fixture's address is the same in all of them under the sanitizers' allocator.
    testing::TempFolder dir_;
    std::filesystem::path folder_ = dir_.path();
    ProfileStore store_;
    MacroLibrary library_;
    FakePage page_;
    FakeHookPort port_;
    KeyboardCapture capture_{port_};
    uint32_t now_ = 5000;
    AdvancedPageLogic logic_{store_,   library_, folder_, page_,
                             capture_, *this,    *this,   UsKeyboardLayout()};
};

// ---- The event list's lines

TEST(EventListLines, KindsTextsAndValues) {
    struct Case {
        const char* what;
        std::vector<MacroEvent> events;
        std::vector<EventLine> lines;
    };
    const Case cases[] = {
        {"A press, pause, A release",
         {{kUsageA, kActionPress, 100}, {kUsageA, kActionRelease, 0}},
         {{u"A", 0x1008A}, {u"100 ms", 0x10087}, {u"A", 0x20089}}},
        {"left button press and release",
         {{0xF1, kActionPress, 0}, {0xF1, kActionRelease, 0}},
         {{u"Left Button Down", 0x10092}, {u"Left Button Up", 0x20092}}},
        {"a key the table lacks has no name; any action but press is a release",
         {{0x00, kActionPress, 0}, {kUsageB, 7, 65535}},
         {{u"", 0x1008A}, {u"B", 0x20089}, {u"65535 ms", 0x20087}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WorkingMacro working;
        std::copy(c.events.begin(), c.events.end(), working.events.begin());
        working.count = int(c.events.size());
        EXPECT_EQ(LayOutEventList(working, -1, -1, UsKeyboardLayout()).lines, c.lines);
    }
}

TEST(EventListLines, CaretLine) {
    // Ten events, the odd ones with a pause: lines 0..14.
    WorkingMacro working;
    for (int i = 0; i < 10; ++i) {
        working.events[std::size_t(i)] = {kUsageA, kActionPress, uint16_t(i % 2 ? 5 : 0)};
    }
    working.count = 10;
    struct Case {
        int focusEvent, caretLine;
        int expectCaretLine, expectShown;
    };
    const Case cases[] = {
        {-1, -1, -1, 14},  // nothing to focus: the last line
        {0, -1, 0, 0},     // near the top: no look-ahead
        {1, -1, 2, 2},     // event 1 ends on its pause line
        {3, -1, 5, 7},     // mid-list: two lines more show below
        {9, -1, 14, 14},   // near the end: no look-ahead
        {-1, 40, 40, 14},  // a caret beyond the list goes to the last line
        {-1, 11, 11, 13},  // the last line that still gets the look-ahead
        {-1, 12, 12, 12},  // ... and the first that does not
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.focusEvent << "/" << c.caretLine);
        const EventListLayout layout =
            LayOutEventList(working, c.focusEvent, c.caretLine, UsKeyboardLayout());
        EXPECT_EQ(layout.lines.size(), 15u);
        EXPECT_EQ(layout.caretLine, c.expectCaretLine);
        EXPECT_EQ(layout.shownCaret, c.expectShown);
    }
    EXPECT_EQ(LayOutEventList(WorkingMacro{}, -1, -1, UsKeyboardLayout()).shownCaret, -1);
}

// ---- Repeat count

TEST_F(AdvancedPage, RepeatCountTypedStoredAndClamped) {
    Load({MacroOf(u"Jump", Presses(2), 1)});
    ASSERT_EQ(page_.repeatText, u"1");
    struct Step {
        std::u16string typed, shown;
        int stored;
    };
    const Step steps[] = {
        {u"3", u"3", 3}, {u"30", u"30", 30}, {u"300", u"255", 255},
        {u"", u"1", 1},  {u"0", u"1", 1},    {u"007", u"007", 7},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.typed.begin(), s.typed.end()));
        page_.repeatText = s.typed;
        logic_.OnRepeatTextChanged(s.typed);
        Pump();
        EXPECT_EQ(page_.repeatText, s.shown);
        EXPECT_EQ(library_[0].repeatCount, s.stored);
    }
    // The count reaches the library file only with the next save.
    EXPECT_FALSE(LibraryFileExists());
}

TEST_F(AdvancedPage, SelectingAMacroWithRepeatZeroShowsAndStoresOne) {
    Load({MacroOf(u"Jump", Presses(1), 5), MacroOf(u"Run", Presses(1), 0)});
    Select(1);
    EXPECT_EQ(page_.repeatText, u"1");
    EXPECT_EQ(library_[1].repeatCount, 1);
    EXPECT_EQ(library_[0].repeatCount, 5);
}

TEST_F(AdvancedPage, RepeatCountReachesTheButtonsThatCarryTheMacro) {
    Load({MacroOf(u"Jump", Presses(2), 1)});
    ButtonSlot& slot = store_.edited().profiles[2].buttons[3];
    slot.functionType = 18;
    SetFixed(slot.macroName, u"jump");
    logic_.OnRepeatTextChanged(u"9");
    Pump();
    EXPECT_EQ(slot.macroRepeat, 9);
}

// ---- Macro list

TEST_F(AdvancedPage, NewMacroNames) {
    struct Case {
        const char16_t* typed;
        bool accepted;
    };
    const Case cases[] = {
        {u"jump", false},   // "Jump" is there, whatever the case
        {u"   ", false},    // blank
        {u"Run", true},     // stored as typed
        {u" Walk ", true},  // not trimmed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::u16string(c.typed).size());
        library_.Clear();
        Load({MacroOf(u"Jump", Presses(3), 4)});
        page_.macroLines.push_back(u"");  // the list's new line, being typed into
        logic_.OnNewMacroCommitted(1, c.typed);
        Pump();
        if (c.accepted) {
            ASSERT_EQ(library_.size(), 2u);
            MacroRecord expected;
            std::memset(&expected, 0, sizeof expected);
            SetFixed(expected.name, c.typed);
            expected.repeatCount = 1;  // the editor shows 1 and stores it at once
            EXPECT_EQ(std::memcmp(&library_[1], &expected, sizeof expected), 0);
            EXPECT_EQ(logic_.selectedMacro(), 1);
            EXPECT_EQ(logic_.currentMacro(), 1);
            EXPECT_EQ(page_.highlighted, 1);
            EXPECT_TRUE(page_.eventLines.empty());
        } else {
            EXPECT_EQ(library_.size(), 1u);
            EXPECT_EQ(page_.macroLines, std::vector<std::u16string>{u"Jump"});
            // The editor goes on with the macro it showed, highlighted.
            EXPECT_EQ(logic_.currentMacro(), 0);
            EXPECT_EQ(page_.highlighted, 0);
            EXPECT_EQ(page_.eventLines.size(), 3u);
        }
        EXPECT_FALSE(LibraryFileExists());
    }
}

TEST_F(AdvancedPage, Renames) {
    struct Case {
        const char* what;
        int line;
        const char16_t* typed;
        const char16_t* expectName;  // of the entry at `line` afterwards
        bool saved;
    };
    const Case cases[] = {
        {"case-only change finds the entry itself", 0, u"Jump", u"jump", false},
        {"a name another entry has", 0, u"RUN", u"jump", false},
        {"trimmed and stored", 0, u"  Hop  ", u"Hop", true},
        {"blank", 0, u"   ", u"jump", false},
        {"locked entry", 2, u"Sealed2", u"Sealed", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        library_.Clear();
        std::filesystem::remove(MacroLibraryPath(folder_));
        Load({MacroOf(u"jump", Presses(1)), MacroOf(u"Run", Presses(2)),
              MacroOf(u"Sealed", Presses(3), 1, 1)});
        Select(c.line);
        logic_.OnMacroRenamed(c.line, c.typed);
        Pump();
        EXPECT_EQ(std::u16string(FixedView(library_[std::size_t(c.line)].name)), c.expectName);
        EXPECT_EQ(page_.macroLines[std::size_t(c.line)], c.expectName);
        EXPECT_EQ(LibraryFileExists(), c.saved);
        EXPECT_EQ(page_.highlighted, c.line);
        EXPECT_EQ(logic_.currentMacro(), c.line);
    }
}

TEST_F(AdvancedPage, DeleteNeedsALineAndAYes) {
    Load({MacroOf(u"Jump", Presses(2)), MacroOf(u"Run", Presses(3))});
    logic_.OnDeleteClicked(-1);
    EXPECT_EQ(page_.confirmations, 0);
    page_.answerOk = false;
    logic_.OnDeleteClicked(0);
    EXPECT_EQ(page_.confirmations, 1);
    EXPECT_EQ(library_.size(), 2u);
    EXPECT_FALSE(LibraryFileExists());
}

TEST_F(AdvancedPage, DeletingTheLastLineSelectsTheNewLastAndRelabelsTheButtons) {
    Load({MacroOf(u"Jump", Presses(2)), MacroOf(u"Run", Presses(3))});
    ButtonSlot& slot = store_.edited().profiles[0].buttons[5];
    slot.functionType = 18;
    SetFixed(slot.macroName, u"Run");
    Select(1);
    logic_.OnDeleteClicked(1);
    Pump();
    ASSERT_EQ(library_.size(), 1u);
    EXPECT_EQ(page_.macroLines, std::vector<std::u16string>{u"Jump"});
    EXPECT_EQ(logic_.selectedMacro(), 0);
    EXPECT_EQ(page_.highlighted, 0);
    EXPECT_EQ(logic_.currentMacro(), 0);
    EXPECT_EQ(page_.eventLines.size(), 2u);
    EXPECT_EQ(SavedCount(), 1u);
    EXPECT_EQ(slot.functionType, 1);  // its macro is gone
    EXPECT_EQ(page_.relabels, 1);
}

TEST_F(AdvancedPage, DeletingTheOnlyMacroLeavesNothingSelected) {
    Load({MacroOf(u"Jump", Presses(2), 7)});
    logic_.OnDeleteClicked(0);
    Pump();
    EXPECT_TRUE(library_.empty());
    EXPECT_TRUE(page_.macroLines.empty());
    EXPECT_EQ(logic_.selectedMacro(), -1);
    EXPECT_EQ(logic_.currentMacro(), -1);
    EXPECT_TRUE(page_.eventLines.empty());
    EXPECT_EQ(page_.repeatText, u"1");
    EXPECT_TRUE(LibraryFileExists());
    EXPECT_EQ(SavedCount(), 0u);
}

TEST_F(AdvancedPage, ImportAddsALineButKeepsTheMacroShown) {
    Load({MacroOf(u"Jump", Presses(2)), MacroOf(u"Run", Presses(3))});
    Select(1);
    const std::filesystem::path file = folder_ / "jump.macro";
    ASSERT_TRUE(ExportMacroFile(library_[0], file));
    ASSERT_TRUE(logic_.ImportFrom(file));
    EXPECT_EQ(page_.macroLines.back(), u"Jump_1");
    EXPECT_EQ(logic_.selectedMacro(), 2);
    EXPECT_EQ(logic_.currentMacro(), 1);
    EXPECT_EQ(page_.eventLines.size(), 3u);
    EXPECT_EQ(page_.highlighted, 1);
    EXPECT_EQ(library_[2].locked, 1);
    EXPECT_EQ(SavedCount(), 3u);  // the import is on disk without a further edit

    EXPECT_FALSE(logic_.ImportFrom(folder_ / "missing.macro"));
    EXPECT_EQ(page_.macroLines.size(), 3u);
}

TEST_F(AdvancedPage, ExportNeedsACurrentMacro) {
    Load({});
    EXPECT_FALSE(logic_.CanExport());
    EXPECT_FALSE(logic_.ExportTo(folder_ / "none.macro"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "none.macro"));
}

TEST_F(AdvancedPage, LockedMacroShowsNoStepsAndRefusesEveryChange) {
    Load({MacroOf(u"Sealed", Presses(4), 3, 1)});
    EXPECT_TRUE(page_.eventLines.empty());
    EXPECT_FALSE(page_.repeatEnabled);
    for (int command : {1001, 1002, 1003, 1004, 1005, 1010, 1020, 1034}) {
        logic_.OnMenuCommand(command, -1);
    }
    logic_.OnRecordClicked();
    EXPECT_EQ(page_.lockedWarnings, 9);
    EXPECT_EQ(page_.noMacroWarnings, 0);
    EXPECT_FALSE(logic_.recording());
    EXPECT_EQ(port_.installed, 0);
    EXPECT_TRUE(page_.eventLines.empty());
    EXPECT_EQ(library_[0].eventCount, 4);
    EXPECT_FALSE(LibraryFileExists());
}

TEST_F(AdvancedPage, WithoutAMacroEveryCommandWarns) {
    Load({});
    logic_.OnMenuCommand(1003, 0);
    logic_.OnMenuCommand(1022, -1);
    logic_.OnRecordClicked();
    EXPECT_EQ(page_.noMacroWarnings, 3);
    EXPECT_FALSE(logic_.recording());
    EXPECT_TRUE(page_.eventLines.empty());
}

// ---- Menu commands

TEST_F(AdvancedPage, InsertPause) {
    struct Case {
        const char* what;
        uint32_t lineValue;  // the selected line
        bool inserted;
    };
    const Case cases[] = {
        {"first event", 0x1008A, false},
        {"event 3 after an event without a pause", 0x30089, true},
        {"event 2 after an event with a pause", 0x2008A, false},
        {"a pause line", 0x10087, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        library_.Clear();
        std::filesystem::remove(MacroLibraryPath(folder_));
        Load({MacroOf(u"M", {{kUsageA, kActionPress, 50},
                             {kUsageB, kActionPress, 0},
                             {kUsageA, kActionRelease, 0}})});
        const int line = LineOf(c.lineValue);
        ASSERT_GE(line, 0);
        logic_.OnMenuCommand(kCmdInsertPause, line);
        if (c.inserted) {
            EXPECT_EQ(library_[0].events[1].delayAfter, 1);
            EXPECT_EQ(Saved(0).events[1].delayAfter, 1);
            const int pause = LineOf(0x20087);
            EXPECT_EQ(pause, LineOf(0x2008A) + 1);
            EXPECT_EQ(page_.eventLines[std::size_t(pause)].text, u"1 ms");
        } else {
            EXPECT_EQ(page_.eventLines.size(), 4u);
            EXPECT_FALSE(LibraryFileExists());
        }
    }
}

TEST_F(AdvancedPage, DeleteStep) {
    const std::vector<MacroEvent> events = {
        {kUsageA, kActionPress, 100}, {kUsageB, kActionPress, 200}, {kUsageA, kActionRelease, 0}};
    struct Case {
        const char* what;
        uint32_t lineValue;  // 0: no selection
        std::vector<MacroEvent> expect;
    };
    const Case cases[] = {
        {"pause line: only the pause", 0x20087, {events[0], {kUsageB, kActionPress, 0}, events[2]}},
        {"key line: the event with its pause", 0x2008A, {events[0], events[2]}},
        {"no selection: nothing", 0, events},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        library_.Clear();
        Load({MacroOf(u"M", events)});
        logic_.OnMenuCommand(kCmdDeleteStep, c.lineValue ? LineOf(c.lineValue) : -1);
        const MacroRecord saved = Saved(0);
        ASSERT_EQ(saved.eventCount, int(c.expect.size()));
        ASSERT_EQ(logic_.working().count, int(c.expect.size()));
        for (std::size_t i = 0; i < c.expect.size(); ++i) {
            EXPECT_EQ(std::memcmp(&saved.events[i], &c.expect[i], sizeof(MacroEvent)), 0) << i;
        }
        if (c.lineValue == 0) {
            EXPECT_EQ(page_.shownCaret, int(page_.eventLines.size()) - 1);
        }
    }
}

TEST_F(AdvancedPage, MouseStepsRespectTheFortyEventLimit) {
    struct Case {
        int before;
        int command;
        int after;
    };
    const Case cases[] = {
        {38, 1025, 40},  // right press and release: two fit
        {39, 1025, 39},  // ... one does not
        {39, 1024, 40},  // a single right release still fits
        {40, 1020, 40}, {0, 1031, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.before << " + " << c.command);
        library_.Clear();
        Load({MacroOf(u"M", Presses(c.before))});
        logic_.OnMenuCommand(c.command, -1);
        EXPECT_EQ(logic_.working().count, c.after);
        EXPECT_EQ(Saved(0).eventCount, c.after);  // saved even when nothing fits
    }
}

TEST_F(AdvancedPage, MouseStepsGoBeforeTheSelectedEvent) {
    Load({MacroOf(u"M", Presses(3))});
    logic_.OnMenuCommand(1034, LineOf(0x2008A));  // back button press and release, before event 2
    const WorkingMacro& w = logic_.working();
    ASSERT_EQ(w.count, 5);
    EXPECT_EQ(w.events[0].key, 0x04);
    EXPECT_EQ(w.events[1].key, 0xF4);
    EXPECT_EQ(w.events[1].action, kActionPress);
    EXPECT_EQ(w.events[2].key, 0xF4);
    EXPECT_EQ(w.events[2].action, kActionRelease);
    EXPECT_EQ(w.events[3].key, 0x05);
    EXPECT_EQ(logic_.focusEvent(), 2);
    EXPECT_EQ(page_.eventLines[2].text, u"Backward Up");
}

TEST_F(AdvancedPage, PauseEditsAreClampedAndSaved) {
    struct Case {
        const char16_t* typed;
        int stored;
    };
    const Case cases[] = {{u"0", 1}, {u"70000", 65535}, {u" 250", 250}, {u"", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::u16string(c.typed).size());
        library_.Clear();
        Load({MacroOf(u"M", {{kUsageA, kActionPress, 100}, {kUsageA, kActionRelease, 30}})});
        const int line = LineOf(0x10087);
        logic_.OnEventSelectionChanged(line);
        logic_.OnMenuCommand(kCmdEditPause, line);
        EXPECT_EQ(page_.pauseEditorLine, line);
        logic_.OnPauseEdited(line, c.typed);
        EXPECT_EQ(Saved(0).events[0].delayAfter, c.stored);
        EXPECT_EQ(page_.eventLines[std::size_t(line)], (EventLine{PauseText(c.stored), 0x10087}));
        EXPECT_EQ(Saved(0).events[1].delayAfter, 30);
    }
}

TEST_F(AdvancedPage, PauseEditChangesTheEventOfTheEditedLine) {
    Load({MacroOf(u"M", {{kUsageA, kActionPress, 100}, {kUsageA, kActionRelease, 30}})});
    // The selection still names event 1 when the pause of event 2 is committed.
    logic_.OnEventSelectionChanged(LineOf(0x10087));
    logic_.OnPauseEdited(LineOf(0x20087), u"77");
    EXPECT_EQ(Saved(0).events[0].delayAfter, 100);
    EXPECT_EQ(Saved(0).events[1].delayAfter, 77);
}

TEST_F(AdvancedPage, EditPauseOnAKeyLineDoesNothing) {
    Load({MacroOf(u"M", {{kUsageA, kActionPress, 100}})});
    logic_.OnMenuCommand(kCmdEditPause, LineOf(0x1008A));
    EXPECT_EQ(page_.pauseEditorLine, -1);
}

// ---- Recording

TEST_F(AdvancedPage, RecordButtonRecordsAnewAndStopSaves) {
    Load({MacroOf(u"M", Presses(10))});
    logic_.OnRecordClicked();
    EXPECT_TRUE(logic_.recording());
    EXPECT_TRUE(page_.recordPressed);
    EXPECT_FALSE(page_.controlsEnabled);
    EXPECT_TRUE(page_.eventLines.empty());
    EXPECT_EQ(port_.installed, 1);
    EXPECT_FALSE(logic_.MenuAllowed());

    logic_.OnRecordDelaysClicked(true);
    Key('A', 0, 0);
    Key('A', kRelease, 120);
    Key('B', 0, 300);
    Key('B', kRelease, 80);
    EXPECT_EQ(page_.eventLines.size(), 8u);  // four keys, four pauses

    logic_.OnStopClicked();
    EXPECT_FALSE(logic_.recording());
    EXPECT_FALSE(page_.recordPressed);
    EXPECT_TRUE(page_.controlsEnabled);
    EXPECT_EQ(port_.installed, 0);
    EXPECT_TRUE(logic_.MenuAllowed());
    const MacroRecord saved = Saved(0);
    ASSERT_EQ(saved.eventCount, 4);
    const MacroEvent expect[] = {{kUsageA, kActionPress, 120},
                                 {kUsageA, kActionRelease, 300},
                                 {kUsageB, kActionPress, 80},
                                 {kUsageB, kActionRelease, 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(&saved.events[i], &expect[i], sizeof(MacroEvent)), 0) << i;
    }
    for (int i = 4; i < kMaxMacroEvents; ++i) {
        EXPECT_EQ(saved.events[i].key, 0) << i;  // the old events are gone
    }
}

TEST_F(AdvancedPage, RecordAfterInsertsBehindTheSelectedEvent) {
    Load({MacroOf(u"M", Presses(3))});
    logic_.OnMenuCommand(kCmdRecordAfter, LineOf(0x1008A));
    EXPECT_EQ(logic_.working().count, 3);  // nothing emptied
    Key('Z', 0, 0);
    logic_.OnStopClicked();
    const MacroRecord saved = Saved(0);
    ASSERT_EQ(saved.eventCount, 4);
    EXPECT_EQ(saved.events[0].key, 0x04);
    EXPECT_EQ(saved.events[1].key, 0x1D);
    EXPECT_EQ(saved.events[2].key, 0x05);
}

TEST_F(AdvancedPage, RefreshingTheListEndsARecordingIntoItsOwnMacro) {
    Load({MacroOf(u"First", Presses(1)), MacroOf(u"Second", Presses(2))});
    Select(1);
    logic_.OnRecordClicked();
    Key('C', 0, 0);
    // The current profile changes while recording: the list goes back to its first line.
    logic_.RefreshFromProfile();
    Pump();
    EXPECT_FALSE(logic_.recording());
    EXPECT_EQ(port_.installed, 0);
    EXPECT_EQ(Saved(1).eventCount, 1);
    EXPECT_EQ(Saved(1).events[0].key, 0x06);
    EXPECT_EQ(Saved(0).eventCount, 1);
    EXPECT_EQ(Saved(0).events[0].key, 0x04);
}

// ---- Pointer settings

TEST_F(AdvancedPage, SlidersAndSpinsWriteTheProfile) {
    Load({});
    ProfileRecord& p = store_.current();
    logic_.OnSlider(kSliderPointerSpeed, 7);
    EXPECT_EQ(p.pointerSpeed, 7);
    EXPECT_EQ(page_.spins[kSpinPointerSpeed], 7);
    logic_.OnSlider(kSliderWheelLines, 9);
    EXPECT_EQ(p.wheelLines, 9);
    EXPECT_EQ(page_.spins[kSpinWheelLines], 9);
    logic_.OnSlider(kSliderDoubleClick, 2);
    EXPECT_EQ(p.doubleClickIndex, 2);
    EXPECT_EQ(page_.spins[kSpinDoubleClick], 2);

    page_.sliders.clear();
    logic_.OnSpin(kSpinPointerSpeed, 7);  // unchanged: the slider stays
    EXPECT_EQ(page_.sliders.count(kSliderPointerSpeed), 0u);
    logic_.OnSpin(kSpinWheelLines, 4);
    EXPECT_EQ(p.wheelLines, 4);
    EXPECT_EQ(page_.sliders[kSliderWheelLines], 4);
    p.doubleClickIndex = 5;
    logic_.OnSpin(kSpinDoubleClick, 5);  // the value it shows is still stored
    EXPECT_EQ(page_.sliders[kSliderDoubleClick], 5);
    EXPECT_EQ(p.doubleClickIndex, 5);
}

TEST_F(AdvancedPage, ChecksAndRefresh) {
    ProfileRecord& p = store_.current();
    logic_.OnPrecisionClicked(true);
    EXPECT_EQ(p.enhancePrecision, 1);
    EXPECT_EQ(p.reserved1516, 8);
    logic_.OnPrecisionClicked(false);
    EXPECT_EQ(p.enhancePrecision, 0);
    EXPECT_EQ(p.reserved1516, 0);

    logic_.OnPageScrollClicked(true);
    EXPECT_EQ(p.wheelPageScroll, 1);
    EXPECT_FALSE(page_.wheelSliderEnabled);
    logic_.OnPageScrollClicked(false);
    EXPECT_TRUE(page_.wheelSliderEnabled);

    p.wheelPageScroll = 1;
    p.pointerSpeed = 3;
    p.wheelLines = 6;
    p.doubleClickIndex = 10;
    p.enhancePrecision = 1;
    logic_.RefreshFromProfile();
    EXPECT_FALSE(page_.wheelSliderEnabled);
    EXPECT_TRUE(page_.pageScroll);
    EXPECT_TRUE(page_.precision);
    EXPECT_EQ(page_.sliders[kSliderPointerSpeed], 3);
    EXPECT_EQ(page_.spins[kSpinPointerSpeed], 3);
    EXPECT_EQ(page_.sliders[kSliderWheelLines], 6);
    EXPECT_EQ(page_.spins[kSpinWheelLines], 6);
    EXPECT_EQ(page_.sliders[kSliderDoubleClick], 10);
    EXPECT_EQ(page_.spins[kSpinDoubleClick], 10);
}

}  // namespace
}  // namespace t30
