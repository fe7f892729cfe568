// Comparing names without regard to case and trimming their white space. Initialisation-file
// section and key names fold ASCII letters only. Two kinds of name keep two wider rules: a bound
// program's file name compares the way Windows compares file names (Latin Extended-A and the
// Cyrillic pairs fold too, only ASCII white space is trimmed), while macro names keep the narrower
// letter set they have always been compared with (so two macros of an existing macro.data that
// differ only in, say, 'Ā' and 'ā' stay two) and trim Unicode spaces. tests/base/case_fold_test.cpp
// shows each difference.
#pragma once

#include <cstddef>
#include <string_view>

namespace t30 {

// Lower case of the ASCII letters only: section and key names of the initialisation files.
constexpr char16_t FoldAsciiCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// Lower case of the letters Windows folds in file names: ASCII, Latin-1, Latin Extended-A, Greek
// (with Ϊ and Ϋ), Cyrillic with its historic and extended pairs.
constexpr char16_t FoldFileNameCase(char16_t c) {
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

// Lower case of the letters macro names fold: ASCII, Latin-1, Greek Α..Ω, Cyrillic Ѐ..Я.
constexpr char16_t FoldMacroNameCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return char16_t(c + 0x20);
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {  // Greek capitals
        return char16_t(c + 0x20);
    }
    if (c >= 0x410 && c <= 0x42F) {  // Cyrillic А..Я
        return char16_t(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {  // Cyrillic Ѐ..Џ
        return char16_t(c + 0x50);
    }
    return c;
}

// Space, tab and the line breaks.
constexpr bool IsAsciiSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Every white-space character of the Basic Multilingual Plane.
constexpr bool IsUnicodeSpace(char16_t c) {
    return IsAsciiSpace(c) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

using CaseFold = char16_t (*)(char16_t);
using SpaceTest = bool (*)(char16_t);

constexpr bool EqualFolded(std::u16string_view a, std::u16string_view b, CaseFold fold) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr std::u16string_view TrimSpace(std::u16string_view text, SpaceTest isSpace) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace t30
