// The platform's private-profile functions and IniFile must agree on every file either writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "base/ini_file.h"
#include "base/wide_text.h"
#include "faulty_writer.h"

namespace t30 {
namespace {

using testing::TempFolder;

std::array<uint8_t, 220> Pattern() {
    std::array<uint8_t, 220> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    }
    bytes[0] = 0x00;
    bytes[1] = 0xFF;
    return bytes;
}

TEST(IniInterop, PlatformReadsOurStruct) {
    TempFolder dir;
    const auto path = dir / "ours.macro";
    const auto bytes = Pattern();
    IniFile file = IniFile::Blank(path);
    ASSERT_TRUE(file.WriteStruct(u"Macros", u"0", bytes.data(), bytes.size()));

    std::array<uint8_t, 220> back{};
    ASSERT_TRUE(GetPrivateProfileStructW(L"Macros", L"0", back.data(), back.size(), path.c_str()));
    EXPECT_EQ(back, bytes);
}

TEST(IniInterop, PlatformReadsOurStructAmongOtherSections) {
    TempFolder dir;
    const auto path = dir / "mixed.ini";
    std::ofstream(path, std::ios::binary)
        << "[A]\r\nx=1\r\n\r\n[Macros]\r\n1=keep\r\n[B]\r\ny=2\r\n";
    const auto bytes = Pattern();
    IniFile file(path);
    ASSERT_TRUE(file.WriteStruct(u"MACROS", u"0", bytes.data(), bytes.size()));
    ASSERT_TRUE(file.WriteStruct(u"A", u"x", bytes.data(), 3));  // replaces a value

    std::array<uint8_t, 220> back{};
    ASSERT_TRUE(GetPrivateProfileStructW(L"Macros", L"0", back.data(), back.size(), path.c_str()));
    EXPECT_EQ(back, bytes);
    uint8_t three[3] = {};
    ASSERT_TRUE(GetPrivateProfileStructW(L"A", L"x", three, 3, path.c_str()));
    EXPECT_EQ(0, std::memcmp(three, bytes.data(), 3));
    wchar_t buffer[64];
    GetPrivateProfileStringW(L"Macros", L"1", L"", buffer, 64, path.c_str());
    EXPECT_EQ(std::wstring(buffer), L"keep");
    GetPrivateProfileStringW(L"B", L"y", L"", buffer, 64, path.c_str());
    EXPECT_EQ(std::wstring(buffer), L"2");
}

TEST(IniInterop, WeReadThePlatformsStructAndWriteTheSameBytes) {
    TempFolder dir;
    const auto theirs = dir / "theirs.macro";
    const auto ours = dir / "ours.macro";
    auto bytes = Pattern();
    ASSERT_TRUE(
        WritePrivateProfileStructW(L"Macros", L"0", bytes.data(), bytes.size(), theirs.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, theirs.c_str());  // flush the cache

    std::array<uint8_t, 220> back{};
    ASSERT_TRUE(IniFile(theirs).ReadStruct(u"macros", u"0", back.data(), back.size()));
    EXPECT_EQ(back, bytes);

    IniFile file = IniFile::Blank(ours);
    ASSERT_TRUE(file.WriteStruct(u"Macros", u"0", bytes.data(), bytes.size()));
    EXPECT_EQ(ReadFileBytes(ours), ReadFileBytes(theirs));
}

TEST(IniInterop, BothRejectTheSameDamage) {
    TempFolder dir;
    // Not compared, because Wine is laxer there and we reject them: a non-hex letter (Wine decodes
    // "G2" as 0x102 and may then pass the checksum) and extra digits after the checksum.
    const char* values[] = {"0102FF03", "0102FF", ""};
    int n = 0;
    for (const char* value : values) {
        const auto path = dir / ("bad" + std::to_string(n++) + ".ini");
        std::ofstream(path, std::ios::binary) << "[M]\r\n0=" << value << "\r\n";
        uint8_t ours[3] = {}, theirs[3] = {};
        EXPECT_FALSE(IniFile(path).ReadStruct(u"M", u"0", ours, 3)) << value;
        EXPECT_FALSE(GetPrivateProfileStructW(L"M", L"0", theirs, 3, path.c_str())) << value;
    }
}

TEST(IniInterop, StringsReadTheSame) {
    struct Case {
        const char* text;
        const char16_t* section;
        const char16_t* key;
    };
    const Case cases[] = {
        {"[SCREEN]\r\nMask=mask.bmp\r\n", u"screen", u"MASK"},
        {"  [ S ]  \r\n\t k \t=  v w \t\r\n", u"S", u"k"},
        {"[S]\r\nk=\" v \"\r\n", u"S", u"k"},
        {"[S]\r\nk='v'\r\n", u"S", u"k"},
        {"[S]\r\nk=\"v'\r\n", u"S", u"k"},
        {"[S]\r\nk=\"\r\n", u"S", u"k"},
        {"[S]\r\nk=a=b\r\n", u"S", u"k"},
        {"[S]\r\nk=1\r\nK=2\r\n", u"S", u"k"},
        {"[S]\r\nk=\r\n", u"S", u"k"},
        {"[T]\r\nk=1\r\n", u"S", u"k"},
        {"[S]\r\n[T]\r\nk=1\r\n", u"S", u"k"},
        {"[S]\r\nk=1", u"S", u"k"},
        {"[BUTTONPOS]\r\n1=ok,20,300,80,24\r\n2=a,10,20,30,40,Save file\r\n", u"ButtonPos", u"2"},
    };
    TempFolder dir;
    int n = 0;
    for (const Case& c : cases) {
        const auto path = dir / ("s" + std::to_string(n++) + ".ini");
        std::ofstream(path, std::ios::binary) << c.text;
        wchar_t buffer[4096];
        GetPrivateProfileStringW(ToWide(c.section).c_str(), ToWide(c.key).c_str(), L"def", buffer,
                                 4096, path.c_str());
        EXPECT_EQ(ToWide(IniFile(path).ReadString(c.section, c.key, u"def")), std::wstring(buffer))
            << c.text;
    }
}

}  // namespace
}  // namespace t30
