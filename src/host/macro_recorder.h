// Turns the keyboard events forwarded by the hook into the steps of a macro, with the pauses
// between them. The page that shows the macro, the clock, the key table and the macro library are
// reached through small interfaces, so the recorder's rules are tested without a keyboard.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

#include "host/keyboard_capture.h"
#include "profile/profile_record.h"

namespace t30 {

// The editor's working copy of the current macro.
struct WorkingMacro {
    std::array<MacroEvent, kMaxMacroEvents> events{};
    int count = 0;
};

class TickClock {
  public:
    virtual ~TickClock() = default;
    virtual uint32_t NowMs() = 0;  // wraps after 49.7 days, like the system's tick count
};

class KeyUsageMap {
  public:
    virtual ~KeyUsageMap() = default;
    // The usage code the key table gives a virtual key; nothing for a key it does not know.
    virtual std::optional<uint8_t> UsageForVirtualKey(uint32_t virtualKey) = 0;
};

// The page around the recorder.
class RecorderView {
  public:
    virtual ~RecorderView() = default;
    virtual void RecordingStarted() = 0;  // disable the controls that must wait, take the focus
    virtual void RecordingEnded() = 0;    // record button released, controls enabled again
    // The working copy changed (or is to be redrawn); `focusEvent` gets the caret.
    virtual void EventsChanged(int focusEvent) = 0;
};

// Writing the working copy back into the current macro of the library, pushing it into the
// profiles' button slots and saving the library. Does nothing when no macro is current.
class MacroWriteBack {
  public:
    virtual ~MacroWriteBack() = default;
    virtual void SaveBack(const WorkingMacro& working) = 0;
};

constexpr uint16_t kMaxRecordedDelay = 65535;
// Delay the newest event keeps until the next key measures the real pause.
constexpr uint16_t kPlaceholderDelay = 2;

class MacroRecorder final : public CaptureClient {
  public:
    MacroRecorder(KeyboardCapture& capture, TickClock& clock, KeyUsageMap& keys, RecorderView& view,
                  MacroWriteBack& writeBack, WorkingMacro& working)
        : capture_(capture),
          clock_(clock),
          keys_(keys),
          view_(view),
          writeBack_(writeBack),
          working_(working) {}
    ~MacroRecorder() override;
    MacroRecorder(const MacroRecorder&) = delete;
    MacroRecorder& operator=(const MacroRecorder&) = delete;

    // Starts recording into the working copy: at `insertAt` (an event index; -1 appends) with
    // the keyboard routed to `page`. Starting while a recording runs changes nothing.
    void start(WindowRef page, int insertAt);
    // One forwarded keyboard event. Returns 1 when the event was taken as a step, 0 when ignored
    // (no recording runs, or an auto-repeat of the key just recorded).
    int OnHookKey(uint32_t virtualKey, uint32_t flags);
    // Ends the recording (stop button, the 40-event limit, or another user taking the keyboard)
    // and writes the working copy back.
    void stop();

    bool recording() const { return recording_; }
    int insertAt() const { return insertAt_; }
    bool keySeen() const { return keySeen_; }
    bool recordDelays() const { return recordDelays_; }
    void SetRecordDelays(bool on) { recordDelays_ = on; }

    void CaptureTaken() override { stop(); }

  private:
    KeyboardCapture& capture_;
    TickClock& clock_;
    KeyUsageMap& keys_;
    RecorderView& view_;
    MacroWriteBack& writeBack_;
    WorkingMacro& working_;

    bool recording_ = false;
    int insertAt_ = -1;
    bool recordDelays_ = false;
    bool keySeen_ = false;
    struct HookedKey {
        uint32_t virtualKey;
        uint32_t flags;
    };
    std::optional<HookedKey> lastHookedKey_;
    std::bitset<256> pressedKeys_;  // by virtual key: pressed since the recording started
    uint32_t lastKeyTick_ = 0;
};

}  // namespace t30
