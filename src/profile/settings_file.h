// The settings file (one ProfileBlock image, "config\Config.data" beside the executable) and the
// profile files the user exports and imports (one ProfileRecord image, extension gmp). Both are
// the in-memory layout byte for byte, with no header.
#pragma once

#include <array>
#include <filesystem>

#include "base/atomic_file.h"
#include "profile/profile_record.h"

namespace t30 {

// Application folder + "config\Config.data". The folder is part of the installation; a save
// makes it again when it has gone missing.
std::filesystem::path SettingsFilePath(const std::filesystem::path& appFolder);

enum class SettingsSource { kFile, kDefaults };

struct SettingsLoad {
    SettingsSource source = SettingsSource::kDefaults;
    // Profiles of the file that failed IsSoundProfile and now hold their defaults.
    std::array<bool, kProfileCount> reset{};
    // Where the file as it was has been copied before the repaired block replaced it; empty when
    // nothing was reset or the copy could not be made (the file is then left as it was).
    std::filesystem::path keptAs;

    bool AnyReset() const {
        for (const bool r : reset) {
            if (r) {
                return true;
            }
        }
        return false;
    }
};

// Fills `block` from the settings file. A file of any length is used as far as it goes, on top of
// fresh defaults (so a short file never leaves undefined or zero profiles behind), and a current
// index outside the five profiles becomes 0. A profile with a field outside its range gets its
// defaults; the file as it was is then copied aside (never deleted) and the repaired block saved.
// Without a readable file the block gets the defaults, which are saved at once. Reading the
// desktop's pointer settings is the caller's next step.
SettingsLoad loadSettings(ProfileBlock& block, const std::filesystem::path& appFolder,
                          FileWriter& writer = NativeFileWriter());

// Replaces the settings file with the block's image, making a missing config folder first; a
// failed save leaves the old file whole.
bool saveSettings(const ProfileBlock& block, const std::filesystem::path& appFolder,
                  FileWriter& writer = NativeFileWriter());

// Replaces `file` with the profile's image.
bool exportProfile(const ProfileRecord& profile, const std::filesystem::path& file,
                   FileWriter& writer = NativeFileWriter());

enum class ProfileImport { kImported, kUnreadable, kNotAProfile };

// Reads up to one record's worth of bytes over the start of `profile`; a shorter file replaces only
// the beginning. The result is taken only when it passes IsSoundProfile; otherwise, and when the
// file cannot be read, `profile` is left exactly as it was. Syncing the macro library, the full
// apply and the page refresh are the caller's.
ProfileImport importProfile(ProfileRecord& profile, const std::filesystem::path& file);

// Why a file could not be written, as far as can be told afterwards.
enum class WriteFailure { kFolderMissing, kFileReadOnly, kFolderRefuses };
WriteFailure ExplainWriteFailure(const std::filesystem::path& file);

}  // namespace t30
