// The user's macro library (an ordered list; an entry's position is its library index) and the
// rules that keep it and the macro copies held by the profiles' button slots in line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "macro/macro_record.h"
#include "profile/profile_record.h"

namespace t30 {

class MacroLibrary {
  public:
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    MacroRecord& operator[](std::size_t index) { return records_[index]; }
    const MacroRecord& operator[](std::size_t index) const { return records_[index]; }
    const std::vector<MacroRecord>& records() const { return records_; }

    // New entries always go to the end; returns the new entry's index.
    std::size_t Append(const MacroRecord& record);
    // Closes the gap; indices past the end are ignored.
    void Erase(std::size_t index);
    void Clear() { records_.clear(); }

  private:
    std::vector<MacroRecord> records_;
};

// Application folder + "config\macro.data".
std::filesystem::path MacroLibraryPath(const std::filesystem::path& appFolder);

// Appends every whole record of the library file (repaired as by RepairMacroRecord). Bytes after
// the last whole record are ignored (the next save drops them). False when the file cannot be
// read; the library is then unchanged.
bool LoadMacroLibrary(MacroLibrary& library, const std::filesystem::path& appFolder);

// Replaces the library file with the records back to back (an empty library gives an empty
// file). A failed save leaves the old file whole.
bool SaveMacroLibrary(const MacroLibrary& library, const std::filesystem::path& appFolder,
                      FileWriter& writer = NativeFileWriter());

// Names without regard to case (ASCII, Latin-1, Greek and Cyrillic letters).
bool MacroNamesEqual(std::u16string_view a, std::u16string_view b);
// Leading and trailing white space removed.
std::u16string_view TrimMacroName(std::u16string_view name);

// True if some entry's trimmed name equals `name`, which itself is not trimmed.
bool FindMacroByName(const MacroLibrary& library, std::u16string_view name);

// `name` when it is free, else the first free "%s_%d" with n = 1, 2, ...; the base is shortened
// where needed so the result keeps its suffix within the 23 characters a name can hold.
std::u16string UniqueMacroName(const MacroLibrary& library, std::u16string_view name);

struct SlotMatch {
    int index;       // first entry whose trimmed name equals the slot's name, or -1
    bool identical;  // same event count and the same bytes in the used events
};
SlotMatch MatchSlotMacro(const MacroLibrary& library, const ButtonSlot& slot);

// Appends a locked entry with the slot's name and events (at most 40) and repeat count 0.
void AddMacroFromSlot(MacroLibrary& library, const ButtonSlot& slot);

// Library to profiles: every macro slot (type 18 with a name) among slots 0..15 of the five
// profiles takes its entry's name, events and repeat count, or becomes type 1 when the entry is
// gone. Slots 16..23 and type 50 are left alone.
void RefreshSlotsFromLibrary(const MacroLibrary& library, ProfileBlock& edited);

// Profiles to library, after a profile import: a macro slot (type 18 with a name, any of the 24)
// whose macro is missing adds a locked entry; one whose entry has other events overwrites that
// entry's events and count.
void SyncLibraryFromSlots(MacroLibrary& library, const ProfileBlock& edited);

}  // namespace t30
