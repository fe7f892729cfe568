#include "host/program_switch.h"

#include "base/case_fold.h"
#include "base/fixed_string.h"

namespace t30 {

std::u16string_view TrimWhite(std::u16string_view text) {
    return TrimSpace(text, IsAsciiSpace);
}

std::u16string_view ProgramFileName(std::u16string_view path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return EqualFolded(a, b, FoldFileNameCase);
}

std::u16string ProgramLabel(const ProfileRecord& profile) {
    return std::u16string(ProgramFileName(TrimWhite(FixedView(profile.programPath))));
}

int FindProfileForProgram(const ProfileBlock& block, std::u16string_view executableName) {
    if (executableName.empty()) {
        return -1;
    }
    for (int p = 0; p < kProfileCount; ++p) {
        const std::u16string_view path = TrimWhite(FixedView(block.profiles[p].programPath));
        if (path.empty()) {
            continue;
        }
        if (EqualsIgnoringCase(ProgramFileName(path), executableName)) {
            return p;
        }
    }
    return -1;
}

bool chooseProgram(ProfileStore& store, std::u16string_view path) {
    ProfileRecord& profile = store.current();
    if (path.size() >= std::size(profile.programPath)) {
        return false;
    }
    SetFixed(profile.programPath, path);
    return true;
}

void clearProgram(ProfileStore& store) {
    SetFixed(store.current().programPath, u"");
}

int checkForegroundProgram(const ProfileStore& store, ForegroundProgram& foreground,
                           ProfileActivator& activator, bool recording) {
    if (recording) {
        return -1;
    }
    const std::optional<std::u16string> name = foreground.ExecutableName();
    if (!name) {
        return -1;
    }
    const int match = FindProfileForProgram(store.edited(), *name);
    if (match < 0 || match == store.CurrentIndex()) {
        return -1;
    }
    activator.activateProfile(match);
    return match;
}

}  // namespace t30
