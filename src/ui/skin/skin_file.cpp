#include "ui/skin/skin_file.h"

#include "base/wide_text.h"

namespace t30 {

StatePictureNames SkinFile::Pictures(std::u16string_view section) const {
    StatePictureNames names;
    names.mask = Read(section, u"Mask");
    names.normal = Read(section, u"Normal");
    names.over = Read(section, u"Over");
    names.down = Read(section, u"Down");
    names.disable = Read(section, u"Disable");
    return names;
}

SkinEntry SkinFile::Entry(int key) const {
    const std::string digits = std::to_string(key);
    return ParseSkinEntry(Read(u"BUTTONPOS", Widen(digits)));
}

}  // namespace t30
