// Rules of the custom controls that need no window, kept here so they run natively under test.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace t30 {

// ---- Slider

// A knob whose left edge moves from x1 to x2 - knobWidth over the values minimum..maximum.
struct SliderTravel {
    int x1 = 0;
    int x2 = 0;
    int knobWidth = 0;
    int minimum = 0;
    int maximum = 10;
};

int ClampInt(int value, int low, int high);

// Left edge of the knob for a value (clamped to the range first), to the nearest pixel.
int SliderLeftOfValue(const SliderTravel& travel, int value);
// Value for the knob's left edge: rounded (halves up) or truncated, clamped to the range.
// `exact` receives the unrounded value (for the debug trace).
int SliderValueOfLeft(const SliderTravel& travel, int left, bool rounding, double* exact = nullptr);
// Value for a click at x (relative to the track's left edge) on a track `width` pixels wide: the
// leftmost pixel gives the minimum and the rightmost the maximum.
int TrackValueOfClick(int x, int width, int minimum, int maximum, bool rounding,
                      double* exact = nullptr);

// ---- Spin

// Integer value of a text as the C runtime reads it: leading white space, an optional sign, then
// digits up to the first other character; 0 when there are none; saturated at the int limits.
int LeadingInt(std::u16string_view text);
// Decimal text of a value.
std::u16string DecimalText(int value);

struct SpinRange {
    int minimum = 0;
    int maximum = 10;
    int step = 1;  // below 1 counts as 1
};

// The arrows: the value the edit must show after up or down from the edit's text, or none when the
// text is already beyond that end.
std::optional<int> SpinUp(const SpinRange& range, std::u16string_view text);
std::optional<int> SpinDown(const SpinRange& range, std::u16string_view text);

// The edit's text changed: `value` is the spin's new value; the edit is rewritten when `rewrite`.
struct SpinChange {
    int value;
    bool rewrite;
};
SpinChange SpinTextChanged(const SpinRange& range, std::u16string_view text);

// The edit lost the focus: the value, the text to write into the edit (if any) and whether the
// owner is told.
struct SpinLeave {
    int value;
    std::optional<std::u16string> rewrite;
    bool notify;
};
SpinLeave SpinFocusLost(const SpinRange& range, std::u16string text);

// Characters the edit accepts: the digits of the maximum, one more for a sign when the minimum is
// negative.
int SpinTextLimit(int minimum, int maximum);

// ---- Edit

// Only digits, full stop and comma are kept, in their order. Returns true when anything was
// removed.
bool FilterNumericText(std::u16string& text);

// ---- List in-place edit

// What committing (Enter, or the list taking the focus back) does to the edited row.
struct ListCommit {
    bool removeRow;   // the edited row is deleted
    bool insertRow;   // the new text is inserted at the same index with the row's old value
    unsigned notify;  // 0, or the message posted to the owner
};
constexpr unsigned kListNewRowCommitted = 0x5F4;
constexpr unsigned kListRowRenamed = 0x5F6;
ListCommit CommitListEdit(bool newRow, bool renaming, std::u16string_view text);
// Escape: only a new row goes away.
inline bool CancelRemovesRow(bool newRow) {
    return newRow;
}
// The list of macro events takes in-place edits on pause rows only (icon 135).
constexpr int kEventListId = 4097;
constexpr unsigned kPauseRowIcon = 135;
// Longest text of the in-place edit.
inline int ListEditLimit(bool newRow) {
    return newRow ? 15 : 20;
}

}  // namespace t30
