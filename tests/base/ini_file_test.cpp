#include "base/ini_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "faulty_writer.h"

namespace t30 {
namespace {

using testing::FaultyWriter;
using testing::TempFolder;

struct StringCase {
    const char* what;
    const char* text;
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
};

TEST(IniFileReadString, Cases) {
    const StringCase cases[] = {
        {"plain", "[SCREEN]\r\nMask=mask.bmp\r\n", u"SCREEN", u"Mask", u"mask.bmp"},
        {"case of section and key", "[Screen]\r\nmask=a\r\n", u"SCREEN", u"MASK", u"a"},
        {"blanks trimmed", "  [ S ]  \r\n\t k \t=  v w \t\r\n", u"S", u"k", u"v w"},
        {"double quotes", "[S]\r\nk=\" v \"\r\n", u"S", u"k", u" v "},
        {"single quotes", "[S]\r\nk='v'\r\n", u"S", u"k", u"v"},
        {"only one pair", "[S]\r\nk=\"\"v\"\"\r\n", u"S", u"k", u"\"v\""},
        {"unmatched quotes kept", "[S]\r\nk=\"v'\r\n", u"S", u"k", u"\"v'"},
        {"lone quote kept", "[S]\r\nk=\"\r\n", u"S", u"k", u"\""},
        {"first equals splits", "[S]\r\nk=a=b\r\n", u"S", u"k", u"a=b"},
        {"first key wins", "[S]\r\nk=1\r\nK=2\r\n", u"S", u"k", u"1"},
        {"only the first section of a name", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2\r\n", u"S", u"b",
         u"def"},
        {"key of another section", "[S]\r\n[T]\r\nk=1\r\n", u"S", u"k", u"def"},
        {"missing section", "[T]\r\nk=1\r\n", u"S", u"k", u"def"},
        {"empty value is not absent", "[S]\r\nk=\r\n", u"S", u"k", u""},
        {"key without equals", "[S]\r\nk\r\n", u"S", u"k", u""},
        {"LF and CR line ends", "[S]\nk=1\rj=2\n", u"S", u"j", u"2"},
        {"no final line end", "[S]\r\nk=1", u"S", u"k", u"1"},
        {"header without bracket ignored", "[S]\r\n[T\r\nk=1\r\n", u"S", u"k", u"1"},
        {"entries before any header", "k=1\r\n[S]\r\n", u"", u"k", u"1"},
        {"bytes map as Latin-1", "[S]\r\nk=\xE9\xFF\x80\r\n", u"S", u"k", u"\u00E9\u00FF\u0080"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\xE5\xBE\xAE\r\n", u"S", u"k",
         u"\u00E9\u5FAE"},
        {"empty file", "", u"S", u"k", u"def"},
    };
    for (const StringCase& c : cases) {
        EXPECT_EQ(IniFile::FromText(c.text).ReadString(c.section, c.key, u"def"),
                  std::u16string(c.expected))
            << c.what;
    }
}

TEST(IniFileReadString, LongValueIsCut) {
    const std::string value(5000, 'x');
    const IniFile file = IniFile::FromText("[S]\r\nk=" + value + "\r\n");
    EXPECT_EQ(file.ReadString(u"S", u"k", u"").size(), IniFile::kMaxValueLength);
}

TEST(IniFileReadString, MissingFileReadsAsEmpty) {
    TempFolder dir;
    const IniFile file(dir / "absent.ini");
    EXPECT_EQ(file.ReadString(u"S", u"k", u"def"), u"def");
    EXPECT_EQ(file.Text(), "");
}

struct StructCase {
    const char* what;
    const char* value;
    bool ok;
};

TEST(IniFileReadStruct, Cases) {
    // Bytes 01 02 FF, checksum 02.
    const StructCase cases[] = {
        {"valid", "0102FF02", true},
        {"lower case hex", "0102ff02", true},
        {"quoted is not hex", "\"0102FF02\"", false},
        {"bad checksum", "0102FF03", false},
        {"too short", "0102FF", false},
        {"odd length", "0102FF020", false},
        {"too long", "0102FF0200", false},
        {"bad hex digit", "01G2FF02", false},
        {"empty", "", false},
    };
    for (const StructCase& c : cases) {
        const IniFile file = IniFile::FromText(std::string("[M]\r\n0=") + c.value + "\r\n");
        std::array<uint8_t, 3> buffer = {0xAA, 0xAA, 0xAA};
        EXPECT_EQ(file.ReadStruct(u"M", u"0", buffer.data(), buffer.size()), c.ok) << c.what;
        const std::array<uint8_t, 3> expected =
            c.ok ? std::array<uint8_t, 3>{1, 2, 0xFF} : std::array<uint8_t, 3>{0xAA, 0xAA, 0xAA};
        EXPECT_EQ(buffer, expected) << c.what;
    }
    uint8_t b = 0;
    EXPECT_FALSE(IniFile::FromText("[M]\r\n").ReadStruct(u"M", u"0", &b, 1)) << "no key";
    EXPECT_FALSE(IniFile::FromText("").ReadStruct(u"M", u"0", &b, 1)) << "no section";
}

std::string Slurp(const std::filesystem::path& path) {
    return ReadFileBytes(path).value_or("<none>");
}

TEST(IniFileWriteStruct, NewFileHasOneSectionAndOneEntry) {
    TempFolder dir;
    IniFile file = IniFile::Blank(dir / "m.macro");
    const uint8_t bytes[] = {0x00, 0x7F, 0xFF, 0x10};
    ASSERT_TRUE(file.WriteStruct(u"Macros", u"0", bytes, sizeof bytes));
    EXPECT_EQ(Slurp(dir / "m.macro"), "[Macros]\r\n0=007FFF108E\r\n");

    uint8_t back[4] = {};
    EXPECT_TRUE(IniFile(dir / "m.macro").ReadStruct(u"MACROS", u"0", back, sizeof back));
    EXPECT_EQ(0, std::memcmp(back, bytes, sizeof bytes));
}

TEST(IniFileWriteStruct, KeepsOtherLinesAndReplacesTheEntry) {
    TempFolder dir;
    const auto path = dir / "x.ini";
    std::ofstream(path, std::ios::binary) << "; note\r\n[A]\r\nk=1\r\n\r\n[B]\r\nz=\xE9\r\n";
    IniFile file(path);
    const uint8_t one = 1;
    ASSERT_TRUE(file.WriteStruct(u"a", u"j", &one, 1));  // new key in an existing section
    ASSERT_TRUE(file.WriteStruct(u"B", u"Z", &one, 1));  // replaces, keeping the key's spelling
    ASSERT_TRUE(file.WriteStruct(u"C", u"k", &one, 1));  // new section at the end
    EXPECT_EQ(Slurp(path),
              "; note\r\n[A]\r\nk=1\r\nj=0101\r\n\r\n[B]\r\nz=0101\r\n[C]\r\nk=0101\r\n");
}

TEST(IniFileWriteStruct, WithoutFileFails) {
    IniFile file = IniFile::FromText("");
    const uint8_t one = 1;
    EXPECT_FALSE(file.WriteStruct(u"S", u"k", &one, 1));
}

TEST(IniFileWriteStruct, FailedWriteKeepsFileAndContent) {
    TempFolder dir;
    const auto path = dir / "x.ini";
    std::ofstream(path, std::ios::binary) << "[S]\r\nk=0000\r\n";
    for (int step = 1; step <= 5; ++step) {
        IniFile file(path);
        FaultyWriter writer(step);
        file.SetWriter(writer);
        const uint8_t seven = 7;
        EXPECT_FALSE(file.WriteStruct(u"S", u"k", &seven, 1)) << step;
        EXPECT_EQ(Slurp(path), "[S]\r\nk=0000\r\n") << step;
        EXPECT_EQ(file.Text(), "[S]\r\nk=0000\r\n") << step;
    }
}

TEST(IniFileWriteStruct, Utf8FileStaysUtf8) {
    TempFolder dir;
    const auto path = dir / "x.ini";
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF[S]\r\nt=\xC3\xA9\r\n";
    IniFile file(path);
    const uint8_t one = 1;
    ASSERT_TRUE(file.WriteStruct(u"\u00C9", u"k", &one, 1));
    EXPECT_EQ(Slurp(path), "\xEF\xBB\xBF[S]\r\nt=\xC3\xA9\r\n[\xC3\x89]\r\nk=0101\r\n");
    EXPECT_EQ(IniFile(path).ReadString(u"S", u"t", u""), u"\u00E9");
}

}  // namespace
}  // namespace t30
