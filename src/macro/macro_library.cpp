#include "macro/macro_library.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "base/case_fold.h"
#include "base/fixed_string.h"
#include "profile/slot_assignment.h"

namespace t30 {
namespace {

uint16_t UsedEvents(int64_t count) {
    return static_cast<uint16_t>(std::clamp<int64_t>(count, 0, kMaxMacroEvents));
}

bool IsMacroSlot(const ButtonSlot& slot) {
    return slot.functionType == kFunctionMacro && slot.macroName[0] != 0;
}

int FindIndex(const MacroLibrary& library, std::u16string_view name) {
    for (std::size_t i = 0; i < library.size(); ++i) {
        if (MacroNamesEqual(TrimMacroName(FixedView(library[i].name)), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

bool RepairMacroRecord(MacroRecord& record) {
    bool changed = false;
    const int32_t count = UsedEvents(record.eventCount);
    if (count != record.eventCount) {
        record.eventCount = count;
        changed = true;
    }
    if (FixedLength(record.name) == kMacroNameLength) {
        record.name[kMacroNameLength - 1] = 0;
        changed = true;
    }
    return changed;
}

std::size_t MacroLibrary::Append(const MacroRecord& record) {
    records_.push_back(record);
    return records_.size() - 1;
}

void MacroLibrary::Erase(std::size_t index) {
    if (index < records_.size()) {
        records_.erase(records_.begin() + static_cast<long>(index));
    }
}

std::filesystem::path MacroLibraryPath(const std::filesystem::path& appFolder) {
    return appFolder / "config" / "macro.data";
}

bool LoadMacroLibrary(MacroLibrary& library, const std::filesystem::path& appFolder) {
    const std::optional<std::string> bytes = ReadFileBytes(MacroLibraryPath(appFolder));
    if (!bytes) {
        return false;
    }
    for (std::size_t at = 0; at + sizeof(MacroRecord) <= bytes->size(); at += sizeof(MacroRecord)) {
        MacroRecord record;
        std::memcpy(&record, bytes->data() + at, sizeof record);
        RepairMacroRecord(record);
        library.Append(record);
    }
    return true;
}

bool SaveMacroLibrary(const MacroLibrary& library, const std::filesystem::path& appFolder,
                      FileWriter& writer) {
    const std::vector<MacroRecord>& records = library.records();
    const std::string_view image(reinterpret_cast<const char*>(records.data()),
                                 records.size() * sizeof(MacroRecord));
    return WriteFileAtomically(MacroLibraryPath(appFolder), image, writer);
}

bool MacroNamesEqual(std::u16string_view a, std::u16string_view b) {
    return EqualFolded(a, b, FoldMacroNameCase);
}

std::u16string_view TrimMacroName(std::u16string_view name) {
    return TrimSpace(name, IsUnicodeSpace);
}

bool FindMacroByName(const MacroLibrary& library, std::u16string_view name) {
    return FindIndex(library, name) >= 0;
}

std::u16string UniqueMacroName(const MacroLibrary& library, std::u16string_view name) {
    constexpr std::size_t kMax = kMacroNameLength - 1;
    name = name.substr(0, kMax);
    if (!FindMacroByName(library, name)) {
        return std::u16string(name);
    }
    for (unsigned n = 1;; ++n) {
        const std::u16string suffix = u"_" + Widen(std::to_string(n));
        const std::u16string candidate =
            std::u16string(name.substr(0, kMax - suffix.size())) + suffix;
        if (!FindMacroByName(library, candidate)) {
            return candidate;
        }
    }
}

SlotMatch MatchSlotMacro(const MacroLibrary& library, const ButtonSlot& slot) {
    const int index = FindIndex(library, FixedView(slot.macroName));
    if (index < 0) {
        return {-1, false};
    }
    const MacroRecord& entry = library[static_cast<std::size_t>(index)];
    const bool sameCount = entry.eventCount == static_cast<int32_t>(slot.eventCount);
    const std::size_t used = UsedEvents(slot.eventCount);
    const bool identical =
        sameCount && std::memcmp(entry.events, slot.events, used * sizeof(MacroEvent)) == 0;
    return {index, identical};
}

void AddMacroFromSlot(MacroLibrary& library, const ButtonSlot& slot) {
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    record.locked = 1;
    SetFixed(record.name, FixedView(slot.macroName));
    record.eventCount = UsedEvents(slot.eventCount);
    std::memcpy(record.events, slot.events,
                static_cast<std::size_t>(record.eventCount) * sizeof(MacroEvent));
    library.Append(record);
}

void RefreshSlotsFromLibrary(const MacroLibrary& library, ProfileBlock& edited) {
    constexpr int kRefreshedSlots = 16;
    for (ProfileRecord& profile : edited.profiles) {
        for (int b = 0; b < kRefreshedSlots; ++b) {
            ButtonSlot& slot = profile.buttons[b];
            if (!IsMacroSlot(slot)) {
                continue;
            }
            const SlotMatch match = MatchSlotMacro(library, slot);
            if (match.index < 0) {
                AssignFunction(slot, 1);
                continue;
            }
            const MacroRecord& entry = library[static_cast<std::size_t>(match.index)];
            AssignMacro(slot,
                        SlotMacro{FixedView(entry.name), entry.repeatCount,
                                  UsedEvents(entry.eventCount), entry.events},
                        false);
        }
    }
}

void SyncLibraryFromSlots(MacroLibrary& library, const ProfileBlock& edited) {
    for (const ProfileRecord& profile : edited.profiles) {
        for (const ButtonSlot& slot : profile.buttons) {
            if (!IsMacroSlot(slot)) {
                continue;
            }
            const SlotMatch match = MatchSlotMacro(library, slot);
            if (match.index < 0) {
                AddMacroFromSlot(library, slot);
            } else if (!match.identical) {
                MacroRecord& entry = library[static_cast<std::size_t>(match.index)];
                std::memcpy(entry.events, slot.events, sizeof entry.events);
                entry.eventCount = UsedEvents(slot.eventCount);
            }
        }
    }
}

}  // namespace t30
