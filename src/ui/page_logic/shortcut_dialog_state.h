// The shortcut dialog without its window: the key being defined, the five check flags with the
// "key alone" rule, what the key field and the check buttons show.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "keys/key_combination.h"
#include "keys/keyboard_layout.h"
#include "profile/profile_record.h"

namespace t30 {

struct CheckButtonView {
    bool checked;
    bool enabled;
};

class ShortcutDialogState {
  public:
    ShortcutDialogState() = default;
    // Preset from a slot's first event, whatever the slot holds: its key byte as the usage, bits
    // 0-4 of its action byte as the flags. A cleared slot gives usage 0 and no flags.
    static ShortcutDialogState ForSlot(const ButtonSlot& slot, const KeyboardLayout& layout);

    uint8_t usage() const { return usage_; }
    const ModifierFlags& flags() const { return flags_; }
    // The byte the slot stores: flag n is bit n, a set flag 0 stores bit 0 alone.
    uint8_t ModifierMask() const { return ModifierBitsFromFlags(flags_); }

    const std::u16string& KeyFieldText() const { return keyText_; }
    const std::array<CheckButtonView, kModifierFlagCount>& CheckButtons() const { return buttons_; }

    // A key event from the keyboard hook, press or release alike: the last one wins. A key
    // without a key table row leaves usage 0 but still shows its name when it has one.
    void OnKey(int virtualKey, const KeyboardLayout& layout);

    // Check button n toggled itself to `checked`. With flag 0 set, buttons 1-4 are disabled and
    // keep the marks they showed; clearing flag 0 shows every flag again.
    void OnCheckButton(int n, bool checked);

  private:
    void ShowFlags();

    uint8_t usage_ = 0;
    ModifierFlags flags_{};
    std::u16string keyText_;
    std::array<CheckButtonView, kModifierFlagCount> buttons_{
        {{false, true}, {false, true}, {false, true}, {false, true}, {false, true}}};
};

}  // namespace t30
