#include "macro/macro_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "base/fixed_string.h"
#include "base/ini_file.h"
#include "faulty_writer.h"
#include "macro_test_util.h"

namespace t30 {
namespace {

using testing::FaultyWriter;
using testing::MakeMacro;
using testing::RecordingDebug;
using testing::TempFolder;

constexpr std::size_t kPlainSize = 10 + 2 + 2 * 221 + 2;  // "[Macros]\r\n" "0=" hex "\r\n"

std::u16string NameOf(const MacroRecord& r) {
    return std::u16string(FixedView(r.name));
}
std::string Get(const std::filesystem::path& p) {
    return ReadFileBytes(p).value_or("<none>");
}
void Put(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

int RandomA() {
    return 17;
}
int RandomB() {
    return 150;
}

// The plain form of a record, written the way the platform writes a private-profile block.
std::string PlainFile(const MacroRecord& r) {
    TempFolder dir;
    IniFile file = IniFile::Blank(dir / "p.macro");
    EXPECT_TRUE(file.WriteStruct(u"Macros", u"0", &r, sizeof r));
    return Get(dir / "p.macro");
}

class MacroFiles : public ::testing::Test {
  protected:
    MacroFileServices services() { return {nullptr, &debug_, &RandomA}; }
    TempFolder dir_;
    RecordingDebug debug_;
};

TEST_F(MacroFiles, ExportWritesALockedScrambledCopy) {
    const MacroRecord jump = MakeMacro(u"Jump", 6, 0x2C, 3, 0);
    const auto path = dir_ / "jump.macro";
    Put(path, std::string(5000, 'z'));  // an older, longer file is replaced whole
    ASSERT_TRUE(ExportMacroFile(jump, path, services()));

    const std::string scrambled = Get(path);
    ASSERT_EQ(scrambled.size(), kPlainSize + kScrambleTrailerSize);
    const uint8_t key = DeriveKeyByte();
    std::string marker;
    for (std::size_t i = 0; i < 9; ++i) {
        marker.push_back(static_cast<char>(scrambled[kPlainSize + i] ^ key));
    }
    EXPECT_EQ(marker, std::string("qmvhrkpd", 9));
    EXPECT_EQ(static_cast<uint8_t>(scrambled[kPlainSize + 9]), 17) << "trailer byte 9 is r";

    ASSERT_TRUE(UnscrambleMacroFile(path, services()));
    MacroRecord locked = jump;
    locked.locked = 1;
    EXPECT_EQ(Get(path), PlainFile(locked));
    EXPECT_TRUE(debug_.lines.empty());
}

TEST_F(MacroFiles, TwoExportsDifferOnlyInTrailerBytes9To17) {
    const MacroRecord jump = MakeMacro(u"Jump", 6);
    ASSERT_TRUE(ExportMacroFile(jump, dir_ / "a.macro", {nullptr, &debug_, &RandomA}));
    ASSERT_TRUE(ExportMacroFile(jump, dir_ / "b.macro", {nullptr, &debug_, &RandomB}));
    const std::string a = Get(dir_ / "a.macro"), b = Get(dir_ / "b.macro");
    ASSERT_EQ(a.size(), b.size());
    const std::size_t trailer = a.size() - kScrambleTrailerSize;
    EXPECT_EQ(a.substr(0, trailer + 9), b.substr(0, trailer + 9));
    for (std::size_t i = trailer + 9; i < a.size(); ++i) {
        EXPECT_NE(a[i], b[i]) << "byte " << i - trailer;
    }
}

TEST_F(MacroFiles, ImportingWhileTheNameExistsAddsSuffixes) {
    MacroLibrary library;
    library.Append(MakeMacro(u"Jump", 4));
    const std::string before = std::string(reinterpret_cast<const char*>(&library[0]), 220);

    for (const char16_t* expected : {u"Jump_1", u"Jump_2"}) {
        const auto path = dir_ / "jump.macro";
        ASSERT_TRUE(ExportMacroFile(library[0], path, services()));
        const std::size_t scrambledSize = Get(path).size();
        const auto index = ImportMacroFile(library, path, services());
        ASSERT_TRUE(index.has_value());
        const MacroRecord& added = library[*index];
        EXPECT_EQ(*index, library.size() - 1);
        EXPECT_EQ(NameOf(added), expected);
        EXPECT_EQ(added.locked, 1);
        EXPECT_EQ(added.eventCount, 4);
        EXPECT_EQ(0, std::memcmp(added.events, library[0].events, sizeof added.events));
        // The file is now the plain form, 18 bytes shorter.
        EXPECT_EQ(Get(path).size(), scrambledSize - kScrambleTrailerSize);
        EXPECT_EQ(Get(path).substr(0, 10), "[Macros]\r\n");
    }
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(&library[0]), 220) == before)
        << "exporting leaves the library's own record as it was";
}

TEST_F(MacroFiles, PlainFileImportsAgainAfterAnImport) {
    MacroLibrary library;
    const auto path = dir_ / "m.macro";
    ASSERT_TRUE(ExportMacroFile(MakeMacro(u"Spin", 2), path, services()));
    ASSERT_TRUE(ImportMacroFile(library, path, services()).has_value());
    debug_.lines.clear();
    ASSERT_TRUE(ImportMacroFile(library, path, services()).has_value());
    EXPECT_EQ(NameOf(library[0]), u"Spin");
    EXPECT_EQ(NameOf(library[1]), u"Spin_1");
    ASSERT_EQ(debug_.lines.size(), 1u);
    EXPECT_EQ(debug_.lines[0], u"lstrcmp love, qmvhrkpd\r\n");
}

TEST_F(MacroFiles, NameComparisonTrimsOnlyTheLibrarysNames) {
    MacroLibrary library;
    library.Append(MakeMacro(u"jump ", 1));
    const auto path = dir_ / "j.macro";
    ASSERT_TRUE(ExportMacroFile(MakeMacro(u"JUMP", 1), path, services()));
    const auto index = ImportMacroFile(library, path, services());
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(NameOf(library[*index]), u"JUMP_1");
}

TEST_F(MacroFiles, BadFilesAddNothing) {
    MacroRecord good = MakeMacro(u"Good", 2);
    std::string plain = PlainFile(good);
    std::string badChecksum = plain;
    badChecksum[badChecksum.size() - 3] ^= 1;  // last checksum digit
    std::string badHex = plain;
    badHex[20] = 'X';
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"empty", ""},
        {"shorter than a trailer", "abc"},
        {"no section", "0=" + plain.substr(12)},
        {"other section", "[Macro]\r\n" + plain.substr(10)},
        {"no key", "[Macros]\r\n1=" + plain.substr(12)},
        {"wrong length", "[Macros]\r\n0=0102FF02\r\n"},
        {"bad checksum", badChecksum},
        {"bad hex", badHex},
        {"garbage", std::string(600, '\xC3')},
    };
    for (const auto& c : cases) {
        for (const bool scramble : {false, true}) {
            const auto path = dir_ / "bad.macro";
            Put(path, c.content);
            if (scramble) {
                ASSERT_TRUE(ScrambleMacroFile(path, services()));
            }
            MacroLibrary library;
            library.Append(good);
            EXPECT_FALSE(ImportMacroFile(library, path, services()).has_value())
                << c.what << (scramble ? ", scrambled" : "");
            EXPECT_EQ(library.size(), 1u) << c.what;
        }
    }
    MacroLibrary library;
    EXPECT_FALSE(ImportMacroFile(library, dir_ / "absent.macro", services()).has_value());
    EXPECT_FALSE(ImportMacroFile(library, dir_.path(), services()).has_value()) << "a folder";
    EXPECT_TRUE(library.empty());
}

TEST_F(MacroFiles, HugeFileIsNotAMacroFile) {
    const auto path = dir_ / "huge.macro";
    ASSERT_TRUE(ExportMacroFile(MakeMacro(u"Big", 1), path, services()));
    ASSERT_TRUE(UnscrambleMacroFile(path, services()));
    const std::string plain = Get(path);
    Put(path, plain + std::string(std::size_t{1} << 20, ';'));
    MacroLibrary library;
    EXPECT_FALSE(ImportMacroFile(library, path, services()).has_value());
    EXPECT_TRUE(library.empty());
    EXPECT_EQ(std::filesystem::file_size(path), plain.size() + (std::size_t{1} << 20));
}

TEST_F(MacroFiles, ImportRepairsCountAndName) {
    MacroRecord odd = MakeMacro(u"", 40);
    odd.eventCount = 77;
    for (char16_t& c : odd.name) {
        c = u'q';
    }
    const auto path = dir_ / "odd.macro";
    Put(path, PlainFile(odd));
    MacroLibrary library;
    const auto index = ImportMacroFile(library, path, services());
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(library[*index].eventCount, 40);
    EXPECT_EQ(NameOf(library[*index]), std::u16string(23, u'q'));
}

TEST_F(MacroFiles, ReadOnlyScrambledFileStillImports) {
    const auto path = dir_ / "ro.macro";
    ASSERT_TRUE(ExportMacroFile(MakeMacro(u"Ro", 3), path, services()));
    const std::string scrambled = Get(path);
    for (int step = 1; step <= 5; ++step) {  // the rewrite to plain form fails at any step
        FaultyWriter writer(step);
        MacroLibrary library;
        const auto index = ImportMacroFile(library, path, {&writer, &debug_, &RandomA});
        ASSERT_TRUE(index.has_value()) << step;
        EXPECT_EQ(NameOf(library[*index]), u"Ro");
        EXPECT_TRUE(Get(path) == scrambled) << "file untouched, step " << step;
    }
}

TEST_F(MacroFiles, UnscrambleLeavesUnmarkedFilesAlone) {
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"empty", ""},
        {"17 bytes", std::string(17, 'a')},
        {"plain macro file", PlainFile(MakeMacro(u"P", 1))},
    };
    for (const auto& c : cases) {
        const auto path = dir_ / "u.macro";
        Put(path, c.content);
        debug_.lines.clear();
        EXPECT_FALSE(UnscrambleMacroFile(path, services())) << c.what;
        EXPECT_TRUE(Get(path) == c.content) << c.what;
        ASSERT_EQ(debug_.lines.size(), 1u) << c.what;
        EXPECT_EQ(debug_.lines[0], u"lstrcmp love, qmvhrkpd\r\n");
    }
    debug_.lines.clear();
    EXPECT_FALSE(UnscrambleMacroFile(dir_ / "absent.macro", services()));
    ASSERT_EQ(debug_.lines.size(), 1u);
    EXPECT_EQ(debug_.lines[0], u"file->Open\r\n");
    EXPECT_FALSE(ScrambleMacroFile(dir_ / "absent.macro", services()));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "absent.macro"));
}

TEST_F(MacroFiles, ScrambleRoundTripsAnyBytes) {
    std::string content;
    for (int i = 0; i < 700; ++i) {
        content.push_back(static_cast<char>(i * 7));
    }
    const auto path = dir_ / "any.bin";
    Put(path, content);
    ASSERT_TRUE(ScrambleMacroFile(path, services()));
    EXPECT_NE(Get(path).substr(0, content.size()), content);
    ASSERT_TRUE(UnscrambleMacroFile(path, services()));
    EXPECT_TRUE(Get(path) == content);
}

TEST_F(MacroFiles, FailedExportLeavesTheOldFileOrThePlainForm) {
    const MacroRecord spin = MakeMacro(u"Spin", 5);
    MacroRecord locked = spin;
    locked.locked = 1;
    const std::string plain = PlainFile(locked);
    const auto path = dir_ / "s.macro";
    const std::string old = "old file";
    for (int step = 1;; ++step) {
        Put(path, old);
        FaultyWriter writer(step);
        const bool ok = ExportMacroFile(spin, path, {&writer, &debug_, &RandomA});
        if (!writer.failed()) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(step, 11) << "two saves of five steps each";
            break;
        }
        EXPECT_FALSE(ok) << step;
        // Steps 1..5 write the plain form, 6..10 scramble it.
        EXPECT_EQ(Get(path), step <= 5 ? old : plain) << step;
    }
}

}  // namespace
}  // namespace t30
