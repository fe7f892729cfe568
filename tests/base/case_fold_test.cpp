// The name comparisons side by side: where file names, macro names and initialisation-file names
// fold and trim alike, and where they part.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/case_fold.h"

namespace t30 {
namespace {

struct FoldCase {
    char16_t upper;
    char16_t fileName;   // what FoldFileNameCase gives
    char16_t macroName;  // what FoldMacroNameCase gives
    char16_t ascii;      // what FoldAsciiCase gives
    const char* why;
};

const FoldCase kFoldCases[] = {
    // File and macro names alike; initialisation-file names fold ASCII letters only.
    {u'A', u'a', u'a', u'a', "ASCII"},
    {u'a', u'a', u'a', u'a', "lower case stays"},
    {u'1', u'1', u'1', u'1', "not a letter"},
    {0xC0, 0xE0, 0xE0, 0xC0, "Latin-1 À"},
    {0xD7, 0xD7, 0xD7, 0xD7, "× is no letter"},
    {0xDE, 0xFE, 0xFE, 0xDE, "Latin-1 Þ"},
    {0x391, 0x3B1, 0x3B1, 0x391, "Greek Α"},
    {0x3A2, 0x3A2, 0x3A2, 0x3A2, "unassigned between Ρ and Σ"},
    {0x3A9, 0x3C9, 0x3C9, 0x3A9, "Greek Ω"},
    {0x400, 0x450, 0x450, 0x400, "Cyrillic Ѐ"},
    {0x410, 0x430, 0x430, 0x410, "Cyrillic А"},
    {0x42F, 0x44F, 0x44F, 0x42F, "Cyrillic Я"},
    // Only file names fold these: Windows' file-name table covers them, the macro names never did.
    {0x3AA, 0x3CA, 0x3AA, 0x3AA, "Greek Ϊ"},
    {0x3AB, 0x3CB, 0x3AB, 0x3AB, "Greek Ϋ"},
    {0x100, 0x101, 0x100, 0x100, "Latin Extended-A Ā, even upper"},
    {0x141, 0x142, 0x141, 0x141, "Latin Extended-A Ł, odd upper"},
    {0x17D, 0x17E, 0x17D, 0x17D, "Latin Extended-A Ž, odd upper"},
    {0x460, 0x461, 0x460, 0x460, "Cyrillic Ѡ"},
    {0x48A, 0x48B, 0x48A, 0x48A, "Cyrillic Ҋ"},
    // Lower case of those pairs stays in both.
    {0x101, 0x101, 0x101, 0x101, "Latin Extended-A ā"},
    {0x142, 0x142, 0x142, 0x142, "Latin Extended-A ł"},
};

TEST(CaseFold, EachNameKindFoldsTheLettersOfTheTable) {
    for (const FoldCase& c : kFoldCases) {
        char label[16];
        std::snprintf(label, sizeof label, "U+%04X", unsigned(c.upper));
        EXPECT_EQ(unsigned(FoldFileNameCase(c.upper)), unsigned(c.fileName))
            << label << " " << c.why;
        EXPECT_EQ(unsigned(FoldMacroNameCase(c.upper)), unsigned(c.macroName))
            << label << " " << c.why;
        EXPECT_EQ(unsigned(FoldAsciiCase(c.upper)), unsigned(c.ascii)) << label << " " << c.why;
    }
}

struct SpaceCase {
    char16_t c;
    bool ascii;    // trimmed from a program path
    bool unicode;  // trimmed from a macro name
};

const SpaceCase kSpaceCases[] = {
    {u' ', true, true},    {u'\t', true, true},    {u'\r', true, true},   {u'\n', true, true},
    {0x85, false, true},   {0xA0, false, true},    {0x2000, false, true}, {0x200A, false, true},
    {0x3000, false, true}, {0x200B, false, false}, {u'x', false, false},  {0x1F, false, false},
};

TEST(CaseFold, ProgramPathsTrimAsciiSpaceAndMacroNamesEveryUnicodeSpace) {
    for (const SpaceCase& c : kSpaceCases) {
        EXPECT_EQ(IsAsciiSpace(c.c), c.ascii) << unsigned(c.c);
        EXPECT_EQ(IsUnicodeSpace(c.c), c.unicode) << unsigned(c.c);
        const std::u16string padded = std::u16string(1, c.c) + u"name" + std::u16string(1, c.c);
        EXPECT_EQ(TrimSpace(padded, IsAsciiSpace) == u"name", c.ascii) << unsigned(c.c);
        EXPECT_EQ(TrimSpace(padded, IsUnicodeSpace) == u"name", c.unicode) << unsigned(c.c);
    }
}

TEST(CaseFold, EqualFoldedComparesWholeNamesUnderTheGivenFold) {
    EXPECT_TRUE(EqualFolded(u"GAME.EXE", u"game.exe", FoldFileNameCase));
    EXPECT_TRUE(EqualFolded(u"ŁÓDŹ.EXE", u"łódź.exe", FoldFileNameCase));
    EXPECT_FALSE(EqualFolded(u"ŁÓDŹ", u"łódź", FoldMacroNameCase));
    EXPECT_TRUE(EqualFolded(u"Макрос", u"МАКРОС", FoldMacroNameCase));
    EXPECT_FALSE(EqualFolded(u"game", u"games", FoldFileNameCase));
    EXPECT_FALSE(EqualFolded(u"game", u"gamf", FoldMacroNameCase));
    EXPECT_TRUE(EqualFolded(u"", u"", FoldMacroNameCase));
}

}  // namespace
}  // namespace t30
