// Skin description files as found in a skin folder: any bytes. The window builder reads the state
// picture names of a section and one "BUTTONPOS" entry per control; an entry's text goes through
// ParseSkinEntry, which also gets the whole input as one value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "ui/skin/skin_entry.h"
#include "ui/skin/skin_file.h"

using namespace t30;

namespace {

void CheckEntry(const SkinEntry& e) {
    T30_FUZZ_CHECK(e.name.size() <= SkinEntry::kMaxName);
    T30_FUZZ_CHECK(e.text.size() <= SkinEntry::kMaxText);
    T30_FUZZ_CHECK(TrimSkinText(e.text).size() == e.text.size() ||
                   e.text.size() == SkinEntry::kMaxText);
    // The rectangle's sides as the window builder uses them; UBSan watches the arithmetic.
    const std::int64_t width = e.Width();
    const std::int64_t height = e.Height();
    static_cast<void>(width + height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SkinFile skin = SkinFile::FromText(bytes);
    for (std::u16string_view section : {u"SCREEN", u"screen", u"BUTTONPOS", u""}) {
        const StatePictureNames names = skin.Pictures(section);
        for (const std::u16string* name :
             {&names.mask, &names.normal, &names.over, &names.down, &names.disable}) {
            T30_FUZZ_CHECK(name->size() <= IniFile::kMaxValueLength);
        }
    }
    for (int key = -1; key <= 40; ++key) {
        CheckEntry(skin.Entry(key));
    }
    CheckEntry(skin.Entry(2147483647));

    // The input as one value, each byte one character.
    const std::u16string value(bytes.begin(), bytes.end());
    CheckEntry(ParseSkinEntry(value));
    return 0;
}
