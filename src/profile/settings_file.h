// The settings file (one ProfileBlock image, "config\Config.data" beside the executable) and the
// profile files the user exports and imports (one ProfileRecord image, extension gmp). Both are
// the in-memory layout byte for byte, with no header.
#pragma once

#include <filesystem>

#include "base/atomic_file.h"
#include "profile/profile_record.h"

namespace t30 {

// Application folder + "config\Config.data". The folder is part of the installation; nothing
// here creates it.
std::filesystem::path SettingsFilePath(const std::filesystem::path& appFolder);

enum class SettingsSource { kFile, kDefaults };

// Fills `block` from the settings file. A file of any length is used as far as it goes, on top of
// fresh defaults (so a short file never leaves undefined or zero profiles behind), and a current
// index outside the five profiles becomes 0. Without a readable file the block gets the defaults,
// which are saved at once. Reading the desktop's pointer settings is the caller's next step.
SettingsSource loadSettings(ProfileBlock& block, const std::filesystem::path& appFolder,
                            FileWriter& writer = NativeFileWriter());

// Replaces the settings file with the block's image; a failed save leaves the old file whole.
bool saveSettings(const ProfileBlock& block, const std::filesystem::path& appFolder,
                  FileWriter& writer = NativeFileWriter());

// Replaces `file` with the profile's image.
bool exportProfile(const ProfileRecord& profile, const std::filesystem::path& file,
                   FileWriter& writer = NativeFileWriter());

// Reads up to one record's worth of bytes over the start of `profile`; a shorter file replaces only
// the beginning. False, and nothing changed, when the file cannot be read. Syncing the macro
// library, the full apply and the page refresh are the caller's.
bool importProfile(ProfileRecord& profile, const std::filesystem::path& file);

}  // namespace t30
