#include "host/macro_recorder.h"

#include <algorithm>

namespace t30 {

MacroRecorder::~MacroRecorder() {
    capture_.release(*this);
}

void MacroRecorder::start(WindowRef page, int insertAt) {
    if (recording_) {
        return;
    }
    // A count from a damaged record must not send the recorder outside its 40 events.
    working_.count = std::clamp(working_.count, 0, kMaxMacroEvents);
    // An insertion point past the end would leave a gap of undefined events.
    insertAt_ = insertAt < 0 || insertAt > working_.count ? -1 : insertAt;
    recording_ = true;
    capture_.acquire(*this, page);
    keySeen_ = false;
    // A key held from before the recording is a new key for this one, not an auto-repeat.
    lastHookedKey_.reset();
    pressedKeys_.reset();
    view_.RecordingStarted();
}

int MacroRecorder::OnHookKey(uint32_t virtualKey, uint32_t flags) {
    // Events still queued when a recording ended belong to no recording.
    if (!recording_) {
        return 0;
    }
    if (lastHookedKey_ && lastHookedKey_->virtualKey == virtualKey &&
        lastHookedKey_->flags == flags) {
        return 0;  // auto-repeat of the key just recorded
    }
    // The release of a key pressed before the recording began (the Enter that chose "record
    // before" in the menu) is no step the user typed: a macro must not let go of a key it never
    // pressed.
    const bool release = flags != 0;
    const std::size_t keyIndex = virtualKey % pressedKeys_.size();
    if (release && !pressedKeys_.test(keyIndex)) {
        return 0;
    }
    pressedKeys_.set(keyIndex, !release);
    const uint8_t usage = keys_.UsageForVirtualKey(virtualKey).value_or(0);
    const uint32_t now = clock_.NowMs();
    const bool full = working_.count >= kMaxMacroEvents;

    if (keySeen_ && recordDelays_ && !full) {
        const uint32_t elapsed = std::min<uint32_t>(now - lastKeyTick_, kMaxRecordedDelay);
        // The event recorded just before this one takes the measured pause.
        const int previous = insertAt_ < 0 ? working_.count - 1 : insertAt_ - 1;
        if (previous >= 0 && previous < working_.count) {
            working_.events[previous].delayAfter = uint16_t(elapsed);
        }
    }

    int focus = -1;
    if (!full) {
        const MacroEvent event{usage, flags != 0 ? kActionRelease : kActionPress,
                               recordDelays_ ? kPlaceholderDelay : uint16_t(0)};
        if (insertAt_ < 0) {
            focus = working_.count;
        } else {
            focus = insertAt_;
            std::copy_backward(working_.events.begin() + insertAt_,
                               working_.events.begin() + working_.count,
                               working_.events.begin() + working_.count + 1);
            ++insertAt_;
        }
        working_.events[focus] = event;
        ++working_.count;
    }
    lastKeyTick_ = now;
    keySeen_ = true;

    if (working_.count >= kMaxMacroEvents) {
        stop();
    }
    view_.EventsChanged(focus);
    lastHookedKey_ = HookedKey{virtualKey, flags};
    return 1;
}

void MacroRecorder::stop() {
    recording_ = false;
    capture_.release(*this);
    lastKeyTick_ = 0;
    view_.RecordingEnded();
    writeBack_.SaveBack(working_);
}

}  // namespace t30
