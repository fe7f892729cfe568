// The settings file and profile files as found on disk: any bytes, any length. Whatever passes the
// profile check then goes where the program takes it next (the current profile's reports, the macro
// library sync after a profile import, the desktop settings and program binding), since a damaged
// file does its harm there.
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
#include "profile/profile_check.h"
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
    const SettingsLoad load = loadSettings(*block, folder);
    T30_FUZZ_CHECK(load.source == SettingsSource::kFile);
    T30_FUZZ_CHECK(block->currentIndex >= 0 && block->currentIndex < kProfileCount);
    // The file's bytes as far as they go (past the index), the defaults after them; a profile
    // that fails the check is its defaults alone.
    auto expected = std::make_unique<ProfileBlock>();
    std::memset(expected.get(), 0, sizeof *expected);
    makeDefaults(*expected);
    const std::size_t used = std::min(size, sizeof(ProfileBlock));
    std::memcpy(expected.get(), data, used);
    expected->currentIndex = block->currentIndex;
    for (int p = 0; p < kProfileCount; ++p) {
        T30_FUZZ_CHECK(load.reset[p] != IsSoundProfile(expected->profiles[p]));
        if (load.reset[p]) {
            MakeProfileDefaults(expected->profiles[p], p + 1);
        }
        T30_FUZZ_CHECK(IsSoundProfile(block->profiles[p]));
    }
    T30_FUZZ_CHECK(std::memcmp(block.get(), expected.get(), sizeof *block) == 0);
    if (load.AnyReset()) {
        T30_FUZZ_CHECK(!load.keptAs.empty());
        const auto kept = ReadFileBytes(load.keptAs);
        T30_FUZZ_CHECK(kept && kept->size() == size && std::memcmp(kept->data(), data, size) == 0);
        std::filesystem::remove(load.keptAs);
    }
    BuildEveryReport(block->profiles[block->currentIndex]);

    // The same bytes imported as a profile file over the current profile: taken whole when they
    // pass the check, otherwise the profile stays as it was. Then the library picks up the
    // profile's macros and hands them back to every profile's slots.
    const auto profileFile = folder / "imported.gmp";
    fuzz::PutFile(profileFile, data, size);
    ProfileRecord& current = block->profiles[block->currentIndex];
    const ProfileRecord before = current;
    const ProfileImport imported = importProfile(current, profileFile);
    T30_FUZZ_CHECK(imported != ProfileImport::kUnreadable);
    if (imported == ProfileImport::kImported) {
        const std::size_t recordBytes = std::min(size, sizeof(ProfileRecord));
        T30_FUZZ_CHECK(std::memcmp(&current, data, recordBytes) == 0);
        T30_FUZZ_CHECK(IsSoundProfile(current));
    } else {
        T30_FUZZ_CHECK(std::memcmp(&current, &before, sizeof before) == 0);
    }
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
