#include "profile/settings_file.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_store.h"

namespace t30 {

std::filesystem::path SettingsFilePath(const std::filesystem::path& appFolder) {
    return appFolder / "config" / "Config.data";
}

SettingsSource loadSettings(ProfileBlock& block, const std::filesystem::path& appFolder,
                            FileWriter& writer) {
    std::memset(&block, 0, sizeof block);
    makeDefaults(block);
    const std::optional<std::string> bytes =
        ReadFileBytes(SettingsFilePath(appFolder), sizeof(ProfileBlock));
    if (!bytes) {
        saveSettings(block, appFolder, writer);
        return SettingsSource::kDefaults;
    }
    std::memcpy(&block, bytes->data(), bytes->size());
    block.currentIndex = SanitizedProfileIndex(block.currentIndex);
    return SettingsSource::kFile;
}

bool saveSettings(const ProfileBlock& block, const std::filesystem::path& appFolder,
                  FileWriter& writer) {
    return WriteFileAtomically(
        SettingsFilePath(appFolder),
        std::string_view(reinterpret_cast<const char*>(&block), sizeof block), writer);
}

bool exportProfile(const ProfileRecord& profile, const std::filesystem::path& file,
                   FileWriter& writer) {
    return WriteFileAtomically(
        file, std::string_view(reinterpret_cast<const char*>(&profile), sizeof profile), writer);
}

bool importProfile(ProfileRecord& profile, const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file, sizeof(ProfileRecord));
    if (!bytes) {
        return false;
    }
    std::memcpy(&profile, bytes->data(), bytes->size());
    return true;
}

}  // namespace t30
