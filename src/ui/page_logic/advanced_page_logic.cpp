#include "ui/page_logic/advanced_page_logic.h"

#include <algorithm>

#include "base/fixed_string.h"
#include "keys/key_conversion.h"
#include "keys/key_table.h"
#include "macro/macro_file.h"
#include "ui/controls/control_rules.h"

namespace t30 {
namespace {

bool IsMouseCode(uint8_t key) {
    return key >= 0xF1 && key <= 0xF5;
}

std::u16string KeyName(uint8_t key, const KeyboardLayout& layout) {
    const std::optional<uint8_t> vk = UsageToVirtualKey(key, layout);
    return vk ? GetKeyName(*vk) : std::u16string();
}

uint32_t LineValue(int eventIndex, uint16_t kind) {
    return (uint32_t(eventIndex + 1) << 16) | kind;
}

std::u16string_view SkipLeadingSpace(std::u16string_view text) {
    while (!text.empty() &&
           (text.front() == u' ' || (text.front() >= u'\t' && text.front() <= u'\r'))) {
        text.remove_prefix(1);
    }
    return text;
}

// The text as the C runtime reads a decimal number: 0 when it does not start with a digit.
int ReadDecimal(std::u16string_view text) {
    text = SkipLeadingSpace(text);
    return LeadingInt(text);
}

}  // namespace

EventListLayout LayOutEventList(const WorkingMacro& working, int focusEvent, int caretLine,
                                const KeyboardLayout& layout) {
    EventListLayout out{{}, caretLine, -1};
    const int count = std::clamp(working.count, 0, kMaxMacroEvents);
    for (int i = 0; i < count; ++i) {
        const MacroEvent& event = working.events[i];
        std::u16string name = KeyName(event.key, layout);
        const bool press = event.action == kActionPress;
        uint16_t kind = press ? kLineKeyPress : kLineKeyRelease;
        if (IsMouseCode(event.key)) {
            name += press ? u" Down" : u" Up";
            kind = kLineMouseButton;
        }
        out.lines.push_back({std::move(name), LineValue(i, kind)});
        if (event.delayAfter != 0) {
            out.lines.push_back({PauseText(event.delayAfter), LineValue(i, kLinePause)});
        }
        if (i == focusEvent) {
            out.caretLine = int(out.lines.size()) - 1;
        }
    }
    const int lineCount = int(out.lines.size());
    if (lineCount > 0) {
        int c = out.caretLine < 0 || out.caretLine >= lineCount ? lineCount - 1 : out.caretLine;
        // Two more lines below the caret show, so the user sees what follows it.
        if (c > 3 && c < lineCount - 3) {
            c += 2;
        }
        out.shownCaret = c;
    }
    return out;
}

RepeatEntry ReadRepeatCount(std::u16string_view text) {
    const int read = ReadDecimal(text);
    const int value = std::clamp(read, kRepeatMin, kRepeatMax);
    // An empty field, 0 or 300 stands for no count the macro can hold: the field shows the one
    // taken instead.
    return {value, value != read};
}

int ReadPause(std::u16string_view text) {
    return std::clamp(ReadDecimal(text), kPauseMin, kPauseMax);
}

std::u16string PauseText(int ms) {
    return DecimalText(ms) + u" ms";
}

// ---- The page

AdvancedPageLogic::AdvancedPageLogic(ProfileStore& store, MacroLibrary& library,
                                     std::filesystem::path appFolder, AdvancedPageView& view,
                                     KeyboardCapture& capture, TickClock& clock, KeyUsageMap& keys,
                                     const KeyboardLayout& layout)
    : store_(store),
      library_(library),
      appFolder_(std::move(appFolder)),
      view_(view),
      layout_(layout),
      writeBack_(library, store, appFolder_, [this] { return currentMacro_; }),
      recorder_(capture, clock, keys, *this, writeBack_, working_) {}

// ---- Pointer settings

void AdvancedPageLogic::OnSlider(int sliderId, int position) {
    ProfileRecord& p = profile();
    switch (sliderId) {
        case kSliderPointerSpeed:
            p.pointerSpeed = position;
            view_.SetSpin(kSpinPointerSpeed, position);
            break;
        case kSliderWheelLines:
            p.wheelLines = position;
            view_.SetSpin(kSpinWheelLines, position);
            break;
        case kSliderDoubleClick:
            p.doubleClickIndex = position;
            view_.SetSpin(kSpinDoubleClick, position);
            break;
        default:
            break;
    }
}

void AdvancedPageLogic::OnSpin(int spinId, int value) {
    ProfileRecord& p = profile();
    switch (spinId) {
        case kSpinPointerSpeed:
            if (value != p.pointerSpeed) {
                p.pointerSpeed = value;
                view_.SetSlider(kSliderPointerSpeed, value);
            }
            break;
        case kSpinWheelLines:
            if (value != p.wheelLines) {
                p.wheelLines = value;
                view_.SetSlider(kSliderWheelLines, value);
            }
            break;
        case kSpinDoubleClick:
            p.doubleClickIndex = value;
            view_.SetSlider(kSliderDoubleClick, value);
            break;
        default:
            break;
    }
}

void AdvancedPageLogic::OnPrecisionClicked(bool checked) {
    profile().enhancePrecision = checked ? 1 : 0;
    profile().reserved1516 = checked ? kPrecisionCompanionValue : 0;
}

void AdvancedPageLogic::OnPageScrollClicked(bool checked) {
    profile().wheelPageScroll = checked ? 1 : 0;
    view_.EnableWheelSlider(!checked);
}

void AdvancedPageLogic::RefreshFromProfile() {
    const ProfileRecord& p = profile();
    view_.SetSlider(kSliderPointerSpeed, p.pointerSpeed);
    view_.SetSpin(kSpinPointerSpeed, p.pointerSpeed);
    view_.SetSlider(kSliderWheelLines, p.wheelLines);
    view_.SetSpin(kSpinWheelLines, p.wheelLines);
    view_.SetPrecisionCheck(p.enhancePrecision == 1);
    view_.SetPageScrollCheck(p.wheelPageScroll == 1);
    view_.EnableWheelSlider(p.wheelPageScroll != 1);
    view_.SetSlider(kSliderDoubleClick, p.doubleClickIndex);
    view_.SetSpin(kSpinDoubleClick, p.doubleClickIndex);
    RefreshMacroList();
}

// ---- Macro list

void AdvancedPageLogic::RefreshMacroList() {
    // The list is about to point at another macro: what was recorded goes into the one it was
    // recorded for, not into whichever macro is selected next.
    EndRecording();
    std::vector<std::u16string> names;
    names.reserve(library_.size());
    for (const MacroRecord& record : library_.records()) {
        names.emplace_back(FixedView(record.name));
    }
    view_.SetMacroLines(names);
    if (!names.empty()) {
        selectedMacro_ = 0;
        view_.SelectMacroLine(0);
        SelectMacro(0);
    } else {
        selectedMacro_ = -1;
        SelectMacro(-1);
    }
}

void AdvancedPageLogic::SelectMacro(int index) {
    const bool valid = index >= 0 && std::size_t(index) < library_.size();
    currentMacro_ = valid ? index : -1;
    if (valid) {
        const MacroRecord& record = library_[std::size_t(index)];
        std::copy(std::begin(record.events), std::end(record.events), working_.events.begin());
        working_.count = std::clamp(int(record.eventCount), 0, kMaxMacroEvents);
        repeat_ = record.repeatCount;
        view_.EnableRepeatEdit(record.locked != 1);
    } else {
        working_ = WorkingMacro{};
        repeat_ = 1;
    }
    caretLine_ = -1;
    focusEvent_ = working_.count - 1;
    if (CurrentLocked()) {
        // A sealed macro keeps its steps to itself.
        lines_.clear();
        view_.SetEventLines(lines_, -1);
    } else {
        RedrawEventList();
    }
    repeat_ = std::max(repeat_, kRepeatMin);
    view_.SetRepeatText(DecimalText(repeat_));
}

void AdvancedPageLogic::OnMacroSelectionChanged(int line) {
    selectedMacro_ = line;
    SelectMacro(selectedMacro_);
}

void AdvancedPageLogic::OnNewMacroCommitted(int line, std::u16string_view text) {
    bool taken = false;
    for (const MacroRecord& record : library_.records()) {
        taken = taken || MacroNamesEqual(FixedView(record.name), text);
    }
    if (TrimMacroName(text).empty() || taken) {
        view_.DeleteMacroLine(line);
        if (library_.empty()) {
            selectedMacro_ = -1;
        } else if (selectedMacro_ > LastLineIndex()) {
            selectedMacro_ = LastLineIndex();
        }
        // The macro still shown in the editor keeps its highlight, so the list and the editor
        // never disagree about which macro the buttons below act on.
        view_.SelectMacroLine(selectedMacro_);
        SelectMacro(selectedMacro_);
        return;
    }
    MacroRecord record{};
    SetFixed(record.name, text);
    selectedMacro_ = int(library_.Append(record));
    view_.SelectMacroLine(selectedMacro_);
    SelectMacro(selectedMacro_);
}

void AdvancedPageLogic::OnMacroRenamed(int line, std::u16string_view text) {
    const std::u16string_view name = TrimMacroName(text);
    const bool valid = line >= 0 && std::size_t(line) < library_.size();
    // A blank name could never be told apart or matched by a button: refused like a taken one.
    if (valid && !name.empty() && !FindMacroByName(library_, name) &&
        library_[std::size_t(line)].locked != 1) {
        SetFixed(library_[std::size_t(line)].name, name);
        SaveLibrary();
    }
    RefreshMacroList();
    if (valid) {
        selectedMacro_ = line;
        view_.SelectMacroLine(line);
        SelectMacro(line);
    }
}

void AdvancedPageLogic::OnDeleteClicked(int highlightedLine) {
    if (highlightedLine < 0 || std::size_t(highlightedLine) >= library_.size()) {
        return;
    }
    if (!view_.ConfirmDelete()) {
        return;
    }
    view_.DeleteMacroLine(highlightedLine);
    library_.Erase(std::size_t(highlightedLine));
    if (library_.empty()) {
        selectedMacro_ = -1;
    } else if (selectedMacro_ > LastLineIndex()) {
        selectedMacro_ = LastLineIndex();
    }
    view_.SelectMacroLine(selectedMacro_);
    SelectMacro(selectedMacro_);
    SaveLibrary();
    RefreshSlotsFromLibrary(library_, store_.edited());
    view_.MacrosDeleted();
}

bool AdvancedPageLogic::ImportFrom(const std::filesystem::path& path) {
    const std::optional<std::size_t> added = ImportMacroFile(library_, path);
    if (!added) {
        return false;
    }
    view_.AppendMacroLine(std::u16string(FixedView(library_[*added].name)));
    selectedMacro_ = int(*added);
    // Kept at once: an import followed by no other edit would otherwise be gone at exit.
    SaveLibrary();
    return true;
}

bool AdvancedPageLogic::ExportTo(const std::filesystem::path& path) const {
    return currentMacro_ >= 0 && ExportMacroFile(library_[std::size_t(currentMacro_)], path);
}

void AdvancedPageLogic::OnRepeatTextChanged(std::u16string_view text) {
    const RepeatEntry entry = ReadRepeatCount(text);
    repeat_ = entry.value;
    if (entry.rewrite) {
        view_.SetRepeatText(DecimalText(entry.value));
    }
    if (currentMacro_ >= 0) {
        library_[std::size_t(currentMacro_)].repeatCount = entry.value;
        RefreshSlotsFromLibrary(library_, store_.edited());
    }
}

void AdvancedPageLogic::SaveLibrary() {
    SaveMacroLibrary(library_, appFolder_);
}

// ---- Event list

bool AdvancedPageLogic::CurrentLocked() const {
    return currentMacro_ >= 0 && library_[std::size_t(currentMacro_)].locked == 1;
}

bool AdvancedPageLogic::MayEditCurrent() {
    if (currentMacro_ < 0) {
        view_.WarnNoMacro();
        return false;
    }
    if (CurrentLocked()) {
        view_.WarnLocked();
        return false;
    }
    return true;
}

void AdvancedPageLogic::RedrawEventList() {
    EventListLayout layout = LayOutEventList(working_, focusEvent_, caretLine_, layout_);
    caretLine_ = layout.caretLine;
    lines_ = std::move(layout.lines);
    view_.SetEventLines(lines_, layout.shownCaret);
}

void AdvancedPageLogic::OnEventSelectionChanged(int line) {
    menuLine_ = line;
    if (line >= 0 && std::size_t(line) < lines_.size()) {
        editedDelayEvent_ = LineEventNumber(lines_[std::size_t(line)].value) - 1;
    }
}

void AdvancedPageLogic::InsertEvents(int at, const std::vector<MacroEvent>& events) {
    for (const MacroEvent& event : events) {
        int index = working_.count;
        if (at >= 0 && at <= working_.count) {
            index = at++;
            std::copy_backward(working_.events.begin() + index,
                               working_.events.begin() + working_.count,
                               working_.events.begin() + working_.count + 1);
        }
        working_.events[std::size_t(index)] = event;
        ++working_.count;
        focusEvent_ = index;
    }
}

void AdvancedPageLogic::StartRecording(int insertAt) {
    recorder_.start(view_.HookTarget(), insertAt);
}

void AdvancedPageLogic::OnMenuCommand(int command, int selectedLine) {
    if (command < kFirstEventCommand || command > kLastEventCommand || !MayEditCurrent()) {
        return;
    }
    menuLine_ = selectedLine >= 0 && std::size_t(selectedLine) < lines_.size() ? selectedLine : -1;
    const bool selected = menuLine_ >= 0;
    const uint32_t value = selected ? lines_[std::size_t(menuLine_)].value : 0;
    const int n = LineEventNumber(value);
    const bool pauseLine = selected && LineKind(value) == kLinePause;

    if (command == kCmdRecordBefore || command == kCmdRecordAfter) {
        StartRecording(!selected ? -1 : command == kCmdRecordBefore ? n - 1 : n);
    } else if (command == kCmdInsertPause) {
        if (selected && !pauseLine && n >= 2 &&
            working_.events[std::size_t(n - 2)].delayAfter == 0) {
            working_.events[std::size_t(n - 2)].delayAfter = 1;
            focusEvent_ = n - 2;
            caretLine_ = menuLine_ - 1;
            RedrawEventList();
            SaveBack();
        }
    } else if (command == kCmdEditPause) {
        if (pauseLine) {
            editedDelayEvent_ = n - 1;
            view_.OpenPauseEditor(menuLine_);
        }
    } else if (command == kCmdDeleteStep) {
        if (pauseLine) {
            working_.events[std::size_t(n - 1)].delayAfter = 0;
        } else if (selected) {
            std::copy(working_.events.begin() + n, working_.events.begin() + working_.count,
                      working_.events.begin() + (n - 1));
            --working_.count;
            working_.events[std::size_t(working_.count)] = MacroEvent{};
        }
        focusEvent_ = selected ? n - 1 : -1;
        caretLine_ = menuLine_;
        SaveBack();
        RedrawEventList();
    } else if (command >= kCmdFirstMouseStep && command <= kCmdLastMouseStep) {
        const int offset = command - kCmdFirstMouseStep;
        const uint8_t code = kMenuMouseCodes[offset / 3];
        const int variant = offset % 3;  // press, release, press and release
        const MacroEvent press{code, kActionPress, 0}, release{code, kActionRelease, 0};
        const int at = selected ? n - 1 : -1;
        if (variant == 2 && working_.count <= kMaxMacroEvents - 2) {
            InsertEvents(at, {press, release});
        } else if (variant != 2 && working_.count < kMaxMacroEvents) {
            InsertEvents(at, {variant == 0 ? press : release});
        }
        RedrawEventList();
        SaveBack();
    }
}

void AdvancedPageLogic::OnPauseEdited(int line, std::u16string_view text) {
    if (line < 0 || std::size_t(line) >= lines_.size() ||
        LineKind(lines_[std::size_t(line)].value) != kLinePause || CurrentLocked()) {
        return;
    }
    // The edited line names its own event; the last selection might name another one.
    editedDelayEvent_ = LineEventNumber(lines_[std::size_t(line)].value) - 1;
    const int ms = ReadPause(text);
    lines_[std::size_t(line)] = {PauseText(ms), LineValue(editedDelayEvent_, kLinePause)};
    view_.ReplaceEventLine(line, lines_[std::size_t(line)]);
    if (editedDelayEvent_ >= 0 && editedDelayEvent_ < working_.count) {
        working_.events[std::size_t(editedDelayEvent_)].delayAfter = uint16_t(ms);
        SaveBack();
    }
}

void AdvancedPageLogic::OnRecordClicked() {
    if (!MayEditCurrent()) {
        return;
    }
    view_.ShowRecordPressed(true);
    if (!recorder_.recording()) {
        working_ = WorkingMacro{};
        lines_.clear();
        view_.SetEventLines(lines_, -1);
        StartRecording(-1);
    }
}

void AdvancedPageLogic::OnStopClicked() {
    view_.ShowRecordPressed(false);
    recorder_.stop();
}

void AdvancedPageLogic::EndRecording() {
    if (recorder_.recording()) {
        recorder_.stop();
    }
}

void AdvancedPageLogic::RecordingEnded() {
    view_.ShowRecordPressed(false);
    view_.EnableForRecording(true);
}

void AdvancedPageLogic::EventsChanged(int focusEvent) {
    if (focusEvent >= 0) {
        focusEvent_ = focusEvent;
    }
    RedrawEventList();
}

}  // namespace t30
