#include "ui/page_logic/shortcut_dialog_state.h"

#include <optional>

#include "keys/key_conversion.h"
#include "keys/key_table.h"

namespace t30 {

ShortcutDialogState ShortcutDialogState::ForSlot(const ButtonSlot& slot,
                                                 const KeyboardLayout& layout) {
    ShortcutDialogState state;
    state.usage_ = slot.events[0].key;
    state.flags_ = ModifierFlagsFromBits(slot.events[0].action);
    // With "key alone" the combination text is just the key's name under the current layout.
    state.keyText_ = FormatKeyCombination(state.usage_, kModifierKeyAlone, layout);
    state.ShowFlags();
    return state;
}

void ShortcutDialogState::OnKey(int virtualKey, const KeyboardLayout& layout) {
    usage_ = VirtualKeyToUsage(virtualKey, layout).value_or(0);
    keyText_ = GetKeyName(virtualKey);
}

void ShortcutDialogState::OnCheckButton(int n, bool checked) {
    if (n < 0 || n >= kModifierFlagCount) {
        return;
    }
    // A disabled button cannot be clicked; a stray click must not change a hidden flag.
    if (!buttons_[static_cast<std::size_t>(n)].enabled) {
        return;
    }
    flags_[static_cast<std::size_t>(n)] = checked;
    ShowFlags();
}

void ShortcutDialogState::ShowFlags() {
    if (flags_[0]) {
        buttons_[0] = {true, true};
        for (int n = 1; n < kModifierFlagCount; ++n) {
            buttons_[static_cast<std::size_t>(n)].enabled = false;
        }
        return;
    }
    for (int n = 0; n < kModifierFlagCount; ++n) {
        buttons_[static_cast<std::size_t>(n)] = {flags_[static_cast<std::size_t>(n)], true};
    }
}

}  // namespace t30
