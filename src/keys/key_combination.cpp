#include "keys/key_combination.h"

#include "keys/key_conversion.h"
#include "keys/key_table.h"

namespace t30 {

std::u16string FormatKeyCombination(int usage, uint8_t modifierBits, const KeyboardLayout& layout) {
    std::u16string text;
    if (!(modifierBits & kModifierKeyAlone)) {
        static constexpr struct {
            uint8_t bit;
            const char16_t* prefix;
        } kPrefixes[] = {{kModifierShift, u"Shift+"},
                         {kModifierCtrl, u"Ctrl+"},
                         {kModifierAlt, u"Alt+"},
                         {kModifierWin, u"Win+"}};
        for (const auto& p : kPrefixes) {
            if (modifierBits & p.bit) {
                text += p.prefix;
            }
        }
    }
    if (const std::optional<uint8_t> virtualKey = UsageToVirtualKey(usage, layout)) {
        text += GetKeyName(*virtualKey);
    }
    return text;
}

}  // namespace t30
