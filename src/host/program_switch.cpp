#include "host/program_switch.h"

#include "base/fixed_string.h"

namespace t30 {
namespace {

constexpr bool IsWhite(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Simple case folding to lower case for the scripts file names commonly use.
constexpr char16_t FoldCase(char16_t c) {
    if (c < 0x80) {
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return char16_t(c + 32);
    }
    if (c >= 0x400 && c <= 0x40F) {  // Cyrillic letters with marks: Ѐ..Џ -> ѐ..џ
        return char16_t(c + 80);
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x481) ||
        (c >= 0x48A && c <= 0x4BF)) {
        return char16_t(c | 1);  // Latin Extended-A and Cyrillic pairs: even upper, odd lower
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? char16_t(c + 1) : c;  // odd upper, even lower
    }
    return c;
}

}  // namespace

std::u16string_view TrimWhite(std::u16string_view text) {
    while (!text.empty() && IsWhite(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsWhite(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string_view ProgramFileName(std::u16string_view path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
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
    const std::optional<std::u16string> name = foreground.executableName();
    if (!name) {
        return -1;
    }
    const int match = FindProfileForProgram(store.edited(), *name);
    if (match < 0 || match == store.currentIndex()) {
        return -1;
    }
    activator.activateProfile(match);
    return match;
}

}  // namespace t30
