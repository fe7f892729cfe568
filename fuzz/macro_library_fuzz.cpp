// "config\macro.data" as found on disk: any bytes, any length. Every record is loaded, repaired,
// and then used the way the program uses the library (names compared, new names made, slots
// refreshed from it).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/fixed_string.h"
#include "fuzz_support.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"

using namespace t30;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto& folder = fuzz::TempFolder();
    std::filesystem::create_directories(folder / "config");
    fuzz::PutFile(MacroLibraryPath(folder), data, size);

    MacroLibrary library;
    T30_FUZZ_CHECK(LoadMacroLibrary(library, folder));
    T30_FUZZ_CHECK(library.size() == size / sizeof(MacroRecord));
    for (std::size_t i = 0; i < library.size(); ++i) {
        const MacroRecord& r = library[i];
        T30_FUZZ_CHECK(r.eventCount >= 0 && r.eventCount <= kMaxMacroEvents);
        T30_FUZZ_CHECK(FixedView(r.name).size() < kMacroNameLength);
        FindMacroByName(library, FixedView(r.name));
        const std::u16string unique = UniqueMacroName(library, FixedView(r.name));
        T30_FUZZ_CHECK(unique.size() < kMacroNameLength);
    }

    // Every profile's macro slots refreshed from the library, then the library synced back.
    auto block = std::make_unique<ProfileBlock>();
    std::memset(block.get(), 0, sizeof *block);
    makeDefaults(*block);
    for (std::size_t i = 0; i < library.size() && i < kButtonSlotCount; ++i) {
        ButtonSlot& slot = block->profiles[i % kProfileCount].buttons[i];
        slot.functionType = 18;
        std::memcpy(slot.macroName, library[i].name, sizeof library[i].name);
    }
    RefreshSlotsFromLibrary(library, *block);
    SyncLibraryFromSlots(library, *block);
    for (const ProfileRecord& profile : block->profiles) {
        for (const ButtonSlot& slot : profile.buttons) {
            MatchSlotMacro(library, slot);
        }
    }
    return 0;
}
