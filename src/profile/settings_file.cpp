#include "profile/settings_file.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_check.h"
#include "profile/profile_store.h"

namespace t30 {

std::filesystem::path SettingsFilePath(const std::filesystem::path& appFolder) {
    return appFolder / "config" / "Config.data";
}

namespace {

// The first free name of "Config.data.damaged", "Config.data.damaged2", ...: an earlier copy is
// never overwritten.
std::filesystem::path CopyAside(const std::filesystem::path& file) {
    for (int n = 1; n <= 99; ++n) {
        std::filesystem::path copy = file;
        copy += n == 1 ? ".damaged" : ".damaged" + std::to_string(n);
        std::error_code error;
        if (std::filesystem::exists(copy, error) || error) {
            continue;
        }
        if (std::filesystem::copy_file(file, copy, std::filesystem::copy_options::none, error)) {
            return copy;
        }
        return {};
    }
    return {};
}

}  // namespace

SettingsLoad loadSettings(ProfileBlock& block, const std::filesystem::path& appFolder,
                          FileWriter& writer) {
    SettingsLoad result;
    std::memset(&block, 0, sizeof block);
    makeDefaults(block);
    const std::filesystem::path file = SettingsFilePath(appFolder);
    const std::optional<std::string> bytes = ReadFileBytes(file, sizeof(ProfileBlock));
    if (!bytes) {
        saveSettings(block, appFolder, writer);
        return result;
    }
    result.source = SettingsSource::kFile;
    std::memcpy(&block, bytes->data(), bytes->size());
    block.currentIndex = SanitizedProfileIndex(block.currentIndex);
    for (int p = 0; p < kProfileCount; ++p) {
        if (!IsSoundProfile(block.profiles[p])) {
            MakeProfileDefaults(block.profiles[p], p + 1);
            result.reset[static_cast<std::size_t>(p)] = true;
        }
    }
    if (result.AnyReset()) {
        // Only once the damaged file is safe beside it may the repaired block replace it.
        result.keptAs = CopyAside(file);
        if (!result.keptAs.empty()) {
            saveSettings(block, appFolder, writer);
        }
    }
    return result;
}

bool saveSettings(const ProfileBlock& block, const std::filesystem::path& appFolder,
                  FileWriter& writer) {
    std::error_code error;
    std::filesystem::create_directories(SettingsFilePath(appFolder).parent_path(), error);
    return WriteFileAtomically(
        SettingsFilePath(appFolder),
        std::string_view(reinterpret_cast<const char*>(&block), sizeof block), writer);
}

bool exportProfile(const ProfileRecord& profile, const std::filesystem::path& file,
                   FileWriter& writer) {
    return WriteFileAtomically(
        file, std::string_view(reinterpret_cast<const char*>(&profile), sizeof profile), writer);
}

ProfileImport importProfile(ProfileRecord& profile, const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file, sizeof(ProfileRecord));
    if (!bytes) {
        return ProfileImport::kUnreadable;
    }
    ProfileRecord candidate = profile;
    std::memcpy(&candidate, bytes->data(), bytes->size());
    if (!IsSoundProfile(candidate)) {
        return ProfileImport::kNotAProfile;
    }
    profile = candidate;
    return ProfileImport::kImported;
}

WriteFailure ExplainWriteFailure(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_directory(file.parent_path(), error)) {
        return WriteFailure::kFolderMissing;
    }
    if (std::filesystem::exists(file, error) && !CanOpenForUpdate(file)) {
        return WriteFailure::kFileReadOnly;
    }
    return WriteFailure::kFolderRefuses;
}

}  // namespace t30
