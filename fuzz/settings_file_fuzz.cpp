// The settings file and profile files as found on disk: any bytes, any length. The loaded block
// then goes where the program takes it next (the current profile's reports, the macro library
// sync after a profile import, the desktop settings and program binding), since a damaged file does
// its harm there.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "device/feature_reports.h"
#include "fuzz_support.h"
#include "host/pointer_settings.h"
#include "host/program_switch.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "profile/settings_file.h"

using namespace t30;

namespace {

// What the desktop side makes of a profile: its program label and binding, its pointer settings.
void UseOnDesktop(const ProfileBlock& block, const ProfileRecord& profile) {
    const std::u16string label = ProgramLabel(profile);
    T30_FUZZ_CHECK(label.size() <= std::size(profile.programPath));
    const int bound = FindProfileForProgram(block, label);
    T30_FUZZ_CHECK(bound >= -1 && bound < kProfileCount);
    const int ms = DoubleClickTimeFromIndex(profile.doubleClickIndex);
    T30_FUZZ_CHECK(ms >= 1 && ms <= 5000);
    const int speed = SpeedFromPosition(profile.pointerSpeed);
    T30_FUZZ_CHECK(speed >= 1 && speed <= 20);
    WheelScrollValue(profile);
}

void BuildEveryReport(const ProfileRecord& profile) {
    BuildDpiReport(profile);
    BuildLightingReport(profile);
    BuildRateReport(profile);
    BuildButtonMapReport(profile);
    for (int s = 0; s < kButtonSlotCount; ++s) {
        if (CarriesMacro(profile.buttons[s].functionType)) {
            BuildMacroReport(profile.buttons[s], s);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto& folder = fuzz::TempFolder();
    std::filesystem::create_directories(folder / "config");
    fuzz::PutFile(SettingsFilePath(folder), data, size);

    auto block = std::make_unique<ProfileBlock>();
    std::memset(block.get(), 0xA5, sizeof *block);
    T30_FUZZ_CHECK(loadSettings(*block, folder) == SettingsSource::kFile);
    T30_FUZZ_CHECK(block->currentIndex >= 0 && block->currentIndex < kProfileCount);
    // The file's bytes as far as they go (past the index), the defaults after them.
    auto defaults = std::make_unique<ProfileBlock>();
    std::memset(defaults.get(), 0, sizeof *defaults);
    makeDefaults(*defaults);
    const auto* loaded = reinterpret_cast<const uint8_t*>(block.get());
    const std::size_t used = std::min(size, sizeof(ProfileBlock));
    const std::size_t indexSize = sizeof block->currentIndex;
    if (used > indexSize) {
        T30_FUZZ_CHECK(std::memcmp(loaded + indexSize, data + indexSize, used - indexSize) == 0);
    }
    const std::size_t restFrom = std::max(used, indexSize);
    T30_FUZZ_CHECK(std::memcmp(loaded + restFrom,
                               reinterpret_cast<const uint8_t*>(defaults.get()) + restFrom,
                               sizeof(ProfileBlock) - restFrom) == 0);
    BuildEveryReport(block->profiles[block->currentIndex]);

    // The same bytes imported as a profile file over the current profile, then the library
    // picks up the imported profile's macros and hands them back to every profile's slots.
    const auto profileFile = folder / "imported.gmp";
    fuzz::PutFile(profileFile, data, size);
    ProfileRecord& current = block->profiles[block->currentIndex];
    T30_FUZZ_CHECK(importProfile(current, profileFile));
    const std::size_t recordBytes = std::min(size, sizeof(ProfileRecord));
    T30_FUZZ_CHECK(std::memcmp(&current, data, recordBytes) == 0);
    BuildEveryReport(current);
    MacroLibrary library;
    SyncLibraryFromSlots(library, *block);
    RefreshSlotsFromLibrary(library, *block);
    for (const ProfileRecord& profile : block->profiles) {
        BuildEveryReport(profile);
        UseOnDesktop(*block, profile);
    }
    return 0;
}
