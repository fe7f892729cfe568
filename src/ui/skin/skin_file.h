// Reading one skin description file: state-picture names and "BUTTONPOS" control entries.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "ui/skin/skin_entry.h"

namespace t30 {

// File names of a window's state pictures, relative to the skin folder; empty when not given.
struct StatePictureNames {
    std::u16string mask, normal, over, down, disable;
};

class SkinFile {
  public:
    // A missing file reads as empty everywhere.
    explicit SkinFile(std::filesystem::path path) : ini_(std::move(path)) {}
    static SkinFile FromText(std::string_view bytes) { return SkinFile(IniFile::FromText(bytes)); }

    // Any value; the empty string when the section or key is missing (names ignore case).
    std::u16string Read(std::u16string_view section, std::u16string_view key) const {
        return ini_.ReadString(section, key, u"");
    }
    StatePictureNames Pictures(std::u16string_view section) const;
    // The "BUTTONPOS" entry named by the decimal text of key.
    SkinEntry Entry(int key) const;

  private:
    explicit SkinFile(IniFile ini) : ini_(std::move(ini)) {}
    IniFile ini_;
};

}  // namespace t30
