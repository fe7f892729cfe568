// The advanced page without its window: the pointer settings of the current profile, the macro
// list, the event list of the current macro with its menu commands, the repeat count and the
// recorder around them. The window passes its clicks and messages in and shows what the view
// interface is told, so every rule here runs under test without a desktop.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/keyboard_capture.h"
#include "host/macro_recorder.h"
#include "host/macro_write_back.h"
#include "keys/keyboard_layout.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"

namespace t30 {

// Control ids of the pointer settings: sliders and the spins beside them.
constexpr int kSliderPointerSpeed = 204;
constexpr int kSliderWheelLines = 202;
constexpr int kSliderDoubleClick = 203;
constexpr int kSpinPointerSpeed = 400;
constexpr int kSpinWheelLines = 401;
constexpr int kSpinDoubleClick = 402;
constexpr int kMacroListId = 4096;
constexpr int kEventsListId = 4097;

constexpr int kRepeatMin = 1, kRepeatMax = 255;
constexpr int kPauseMin = 1, kPauseMax = 65535;
// Value the enhanced-precision check writes into the field that follows it.
constexpr int32_t kPrecisionCompanionValue = 8;

// Kinds of the event list's lines (the low word of a line's value; also its row picture).
constexpr uint16_t kLineKeyPress = 0x8A;
constexpr uint16_t kLineKeyRelease = 0x89;
constexpr uint16_t kLineMouseButton = 0x92;
constexpr uint16_t kLinePause = 0x87;

// The event menu's commands.
enum EventMenuCommand : int {
    kCmdRecordBefore = 1001,
    kCmdRecordAfter = 1002,
    kCmdInsertPause = 1003,
    kCmdEditPause = 1004,
    kCmdDeleteStep = 1005,
    kCmdFirstMouseStep = 1020,
    kCmdLastMouseStep = 1034,
};
constexpr int kFirstEventCommand = 1001, kLastEventCommand = 1034;

// The mouse buttons of the menu's submenus, in menu order, with their usage codes.
constexpr uint8_t kMenuMouseCodes[5] = {0xF1, 0xF2, 0xF3, 0xF5, 0xF4};

struct EventLine {
    std::u16string text;
    uint32_t value;  // event number (index + 1) in the high word, line kind in the low word
    bool operator==(const EventLine& o) const { return text == o.text && value == o.value; }
};
inline int LineEventNumber(uint32_t value) {
    return int(value >> 16);
}
inline uint16_t LineKind(uint32_t value) {
    return uint16_t(value & 0xFFFF);
}

// The lines of a working copy. `caretLine` is the page's caret line: it becomes the last line of
// the focus event when that event is drawn. `shownCaret` is the line that gets the caret and is
// scrolled into view (-1 when there are no lines).
struct EventListLayout {
    std::vector<EventLine> lines;
    int caretLine;
    int shownCaret;
};
EventListLayout LayOutEventList(const WorkingMacro& working, int focusEvent, int caretLine,
                                const KeyboardLayout& layout);

// The repeat-count field's text read as a count: 1..255. `rewrite` when the field must show the
// value instead of what it holds.
struct RepeatEntry {
    int value;
    bool rewrite;
};
RepeatEntry ReadRepeatCount(std::u16string_view text);
// A pause typed into the event list, forced into 1..65535.
int ReadPause(std::u16string_view text);
std::u16string PauseText(int ms);

// What the page shows; the window implements it.
class AdvancedPageView {
  public:
    virtual ~AdvancedPageView() = default;
    // Pointer settings.
    virtual void SetSlider(int sliderId, int value) = 0;
    virtual void SetSpin(int spinId, int value) = 0;
    virtual void SetPrecisionCheck(bool checked) = 0;
    virtual void SetPageScrollCheck(bool checked) = 0;
    virtual void EnableWheelSlider(bool enabled) = 0;
    // Macro list.
    virtual void SetMacroLines(const std::vector<std::u16string>& names) = 0;
    virtual void SelectMacroLine(int line) = 0;  // -1: none highlighted
    virtual void DeleteMacroLine(int line) = 0;
    // Adds a last line and scrolls the list so that it shows (the highlight stays).
    virtual void AppendMacroLine(const std::u16string& name) = 0;
    // Event list.
    virtual void SetEventLines(const std::vector<EventLine>& lines, int caretLine) = 0;
    virtual void ReplaceEventLine(int line, const EventLine& content) = 0;
    virtual void OpenPauseEditor(int line) = 0;
    // Repeat count. Setting the text notifies like typing does (OnRepeatTextChanged follows).
    virtual void SetRepeatText(const std::u16string& text) = 0;
    virtual void EnableRepeatEdit(bool enabled) = 0;
    // Recording.
    virtual void ShowRecordPressed(bool pressed) = 0;
    // Off while recording: the macro list, new, delete and the spare button; on again after.
    virtual void EnableForRecording(bool idle) = 0;
    virtual WindowRef HookTarget() = 0;
    // Dialogs and neighbours.
    virtual void WarnNoMacro() = 0;
    virtual void WarnLocked() = 0;
    virtual bool ConfirmDelete() = 0;
    virtual void MacrosDeleted() = 0;  // the button page relabels
};

class AdvancedPageLogic final : private RecorderView {
  public:
    AdvancedPageLogic(ProfileStore& store, MacroLibrary& library, std::filesystem::path appFolder,
                      AdvancedPageView& view, KeyboardCapture& capture, TickClock& clock,
                      KeyUsageMap& keys, const KeyboardLayout& layout);
    AdvancedPageLogic(const AdvancedPageLogic&) = delete;
    AdvancedPageLogic& operator=(const AdvancedPageLogic&) = delete;

    // ---- Pointer settings (current profile of the edited store)
    void OnSlider(int sliderId, int position);
    void OnSpin(int spinId, int value);
    void OnPrecisionClicked(bool checked);
    void OnPageScrollClicked(bool checked);
    void RefreshFromProfile();

    // ---- Macro list
    void RefreshMacroList();
    void SelectMacro(int index);
    void OnMacroSelectionChanged(int line);
    // The list's in-place edit of a new line committed (the line is the list's last).
    void OnNewMacroCommitted(int line, std::u16string_view text);
    void OnMacroRenamed(int line, std::u16string_view text);
    // Delete button with the list's highlighted line (-1: none).
    void OnDeleteClicked(int highlightedLine);
    // The chosen file of the import dialog; true when an entry was added.
    bool ImportFrom(const std::filesystem::path& path);
    bool CanExport() const { return currentMacro_ >= 0; }
    bool ExportTo(const std::filesystem::path& path) const;
    void OnRepeatTextChanged(std::u16string_view text);

    // ---- Event list and recording
    void OnEventSelectionChanged(int line);
    // False while recording: the right button opens no menu then.
    bool MenuAllowed() const { return !recorder_.recording(); }
    void OnMenuCommand(int command, int selectedLine);
    void OnPauseEdited(int line, std::u16string_view text);
    void OnRecordClicked();
    void OnStopClicked();
    void OnRecordDelaysClicked(bool checked) { recorder_.SetRecordDelays(checked); }
    int OnHookKey(uint32_t virtualKey, uint32_t flags) {
        return recorder_.OnHookKey(virtualKey, flags);
    }
    // Ends a running recording and keeps what it recorded (the page is going away).
    void EndRecording();

    // ---- State, for the window and for checks
    int selectedMacro() const { return selectedMacro_; }
    int currentMacro() const { return currentMacro_; }
    const WorkingMacro& working() const { return working_; }
    int RepeatValue() const { return repeat_; }
    bool recording() const { return recorder_.recording(); }
    bool recordDelays() const { return recorder_.recordDelays(); }
    const std::vector<EventLine>& EventLines() const { return lines_; }
    int focusEvent() const { return focusEvent_; }
    int caretLine() const { return caretLine_; }
    int editedDelayEvent() const { return editedDelayEvent_; }

  private:
    // RecorderView
    void RecordingStarted() override { view_.EnableForRecording(false); }
    void RecordingEnded() override;
    void EventsChanged(int focusEvent) override;

    ProfileRecord& profile() { return store_.current(); }
    bool CurrentLocked() const;
    // The warnings of the record button and the menu; true when the command may go on.
    bool MayEditCurrent();
    void RedrawEventList();
    void SaveBack() { writeBack_.SaveBack(working_); }
    void SaveLibrary();
    void InsertEvents(int at, const std::vector<MacroEvent>& events);
    void StartRecording(int insertAt);
    int LastLineIndex() const { return int(library_.size()) - 1; }

    ProfileStore& store_;
    MacroLibrary& library_;
    std::filesystem::path appFolder_;
    AdvancedPageView& view_;
    const KeyboardLayout& layout_;

    int selectedMacro_ = -1;
    int currentMacro_ = -1;
    WorkingMacro working_;
    int repeat_ = 1;
    std::vector<EventLine> lines_;
    int focusEvent_ = -1;
    int caretLine_ = -1;
    int menuLine_ = -1;
    int editedDelayEvent_ = -1;

    LibraryWriteBack writeBack_;
    MacroRecorder recorder_;
};

}  // namespace t30
