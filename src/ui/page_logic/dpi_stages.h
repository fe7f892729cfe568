// The six DPI stage windows and the page: the 0x4C9 message they exchange, what a stage window
// shows, and how the page writes the profile when a stage changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/window_messages.h"
#include "profile/profile_record.h"

namespace t30 {

constexpr int kDpiWindowIdFirst = 500;  // stage k has window id 500 + k
constexpr int kDpiSliderId = 300;
constexpr int kDpiValueMin = 1;
constexpr int kDpiValueMax = 126;
constexpr int kDpiStep = 38;  // a stage value of v is shown as v x 38 DPI

enum class DpiStageChange : uint16_t {
    kEnabled = 1,  // value: the enable box's new state
    kValue = 2,    // value: the slider's new stage value
    kSelected = 3  // value: the selector's state before the click (not used by the page)
};

constexpr uint32_t DpiStageParam(DpiStageChange kind, int value) {
    return (uint32_t(kind) << 16) | (uint32_t(value) & 0xFFFFu);
}

// Title string of stage k's window (160 + k).
constexpr uint16_t DpiStageTitleId(int stage) {
    return static_cast<uint16_t>(160 + stage);
}

// The DPI number shown for a stage value, as the value label writes it ("%d").
std::u16string DpiText(int value);

// A message the page must act on: which stage and what changed.
struct DpiStageMessage {
    int stage;  // 0-5
    DpiStageChange kind;
    int value;  // low word of wParam
};

// Nothing for a window id outside 500-505 or an unknown kind.
std::optional<DpiStageMessage> DecodeDpiStageMessage(uint64_t wParam, int64_t lParam);

enum class DpiStageUpdate {
    kIgnored,         // nothing written
    kStored,          // a value or enabled flag was written; the windows already show it
    kCurrentChanged,  // dpiStage was written: tell every window whether it is current now
};

// Writes the profile for one message of a stage window. A slider value outside 1-126 is
// clamped, an enabled flag is stored as 0 or 1, and the current stage is never switched off.
DpiStageUpdate ApplyDpiStageMessage(ProfileRecord& profile, uint64_t wParam, int64_t lParam);

// What one stage window shows and reports. The page pushes value, enabled flag and current flag
// in; the user's clicks come back out as the wParam of a message to post to the page.
class DpiStageModel {
  public:
    explicit DpiStageModel(int stage = 0) : stage_(stage) {}

    int stage() const { return stage_; }
    int WindowId() const { return kDpiWindowIdFirst + stage_; }

    // Pushed by the page; nothing is reported back.
    void SetValue(int value) { value_ = value; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetCurrent(bool current) { current_ = current; }

    int value() const { return value_; }
    bool enabled() const { return enabled_; }
    bool current() const { return current_; }

    std::u16string ValueText() const { return DpiText(value_); }
    // A disabled stage can be neither made current nor changed.
    bool SelectorEnabled() const { return enabled_; }
    bool SliderEnabled() const { return enabled_; }
    // The current stage cannot be switched off.
    bool EnableBoxEnabled() const { return !current_; }
    // The window paints its Down picture and a white title when current.
    bool SelectorChecked() const { return current_; }

    // The selector was clicked. It is no check-mode button, so its mark is still the current
    // flag; the page makes the stage current in answer whatever the mark says.
    uint32_t OnSelectorClicked() const;
    // The enable box toggled itself to `checked`.
    uint32_t OnEnableBoxClicked(bool checked);
    // Slider message 0x446: nothing when it comes from another control or does not move.
    std::optional<uint32_t> OnSliderMoved(int position, int senderId);

  private:
    int stage_;
    int value_ = 8;
    bool enabled_ = true;
    bool current_ = false;
};

}  // namespace t30
