#include "profile/settings_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "base/fixed_string.h"
#include "faulty_writer.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

using testing::FaultyWriter;
using testing::TempFolder;

std::string Bytes(const void* p, std::size_t n) {
    return std::string(static_cast<const char*>(p), n);
}

// Recognisable bytes that are no valid profile.
std::string Garbage(std::size_t n, unsigned seed = 1) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        s[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
    }
    return s;
}

void Put(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directory(dir_ / "config"); }
    std::filesystem::path file() const { return SettingsFilePath(dir_.path()); }
    std::unique_ptr<ProfileBlock> NewBlock() {
        auto b = std::make_unique<ProfileBlock>();
        std::memset(b.get(), 0x5A, sizeof *b);  // whatever the caller held before
        return b;
    }
    std::unique_ptr<ProfileBlock> Defaults() {
        auto b = std::make_unique<ProfileBlock>();
        std::memset(b.get(), 0, sizeof *b);
        makeDefaults(*b);
        return b;
    }

    TempFolder dir_;
};

TEST_F(SettingsFile, FirstStartWritesDefaults) {
    auto block = NewBlock();
    EXPECT_EQ(loadSettings(*block, dir_.path()).source, SettingsSource::kDefaults);
    const std::string onDisk = ReadFileBytes(file()).value();
    ASSERT_EQ(onDisk.size(), 99952u);
    EXPECT_EQ(onDisk.substr(0, 4), std::string(4, '\0'));
    EXPECT_TRUE(onDisk == Bytes(Defaults().get(), sizeof(ProfileBlock)));
    EXPECT_EQ(FixedView(block->profiles[0].name), u"Default1");
}

TEST_F(SettingsFile, MissingConfigFolderIsMadeForTheDefaults) {
    TempFolder bare;
    auto block = NewBlock();
    EXPECT_EQ(loadSettings(*block, bare.path()).source, SettingsSource::kDefaults);
    EXPECT_TRUE(Bytes(block.get(), sizeof *block) == Bytes(Defaults().get(), sizeof(ProfileBlock)));
    EXPECT_TRUE(ReadFileBytes(SettingsFilePath(bare.path())).value() ==
                Bytes(Defaults().get(), sizeof(ProfileBlock)));
}

TEST_F(SettingsFile, SaveThenLoadRoundTrips) {
    auto saved = Defaults();
    saved->currentIndex = 3;
    saved->profiles[3].dpiValues[2] = 99;
    saved->buttonMarks[4][23] = 1;
    SetFixed(saved->profiles[1].programPath, u"C:\\Games\\x.exe");
    ASSERT_TRUE(saveSettings(*saved, dir_.path()));
    auto loaded = NewBlock();
    EXPECT_EQ(loadSettings(*loaded, dir_.path()).source, SettingsSource::kFile);
    EXPECT_TRUE(Bytes(loaded.get(), sizeof *loaded) == Bytes(saved.get(), sizeof *saved));
}

// Whatever its length, the file is used as far as it goes, over defaults.
TEST_F(SettingsFile, AnyLengthIsUsedAsFarAsItGoes) {
    auto sound = Defaults();
    sound->currentIndex = 2;
    for (ProfileRecord& p : sound->profiles) {
        p.dpiValues[1] = 99;
        p.reportRate = 0;
    }
    sound->buttonMarks[4][23] = 1;
    const std::string image = Bytes(sound.get(), sizeof *sound) + Garbage(300);
    for (const std::size_t length :
         {std::size_t{0}, std::size_t{2}, std::size_t{4}, std::size_t{100}, std::size_t{1566},
          std::size_t{99951}, std::size_t{99952}, std::size_t{99952 + 300}}) {
        const std::string content = image.substr(0, length);
        Put(file(), content);
        auto expected = Defaults();
        std::memcpy(expected.get(), content.data(), std::min(length, sizeof(ProfileBlock)));
        expected->currentIndex = SanitizedProfileIndex(expected->currentIndex);
        auto block = NewBlock();
        const SettingsLoad load = loadSettings(*block, dir_.path());
        EXPECT_EQ(load.source, SettingsSource::kFile) << length;
        EXPECT_FALSE(load.AnyReset()) << length;
        EXPECT_TRUE(Bytes(block.get(), sizeof *block) == Bytes(expected.get(), sizeof *expected))
            << length;
        EXPECT_TRUE(ReadFileBytes(file()).value() == content) << "loading never rewrites the file";
    }
}

// A damaged profile gets its defaults, the sound ones are kept, and the file as it was stays
// beside the repaired one; a second damaged start keeps the first copy too.
TEST_F(SettingsFile, DamagedProfilesAreResetAndTheFileKeptAside) {
    auto saved = Defaults();
    saved->currentIndex = 3;
    for (ProfileRecord& p : saved->profiles) {
        p.dpiValues[0] = 50;
    }
    saved->profiles[1].reportRate = 9;
    saved->profiles[4].buttons[2].functionType = 250;
    const std::string damaged = Bytes(saved.get(), sizeof *saved);
    auto repaired = NewBlock();
    std::memcpy(repaired.get(), saved.get(), sizeof *saved);
    MakeProfileDefaults(repaired->profiles[1], 2);
    MakeProfileDefaults(repaired->profiles[4], 5);
    const std::string repairedImage = Bytes(repaired.get(), sizeof *repaired);

    for (const char* copyName : {"Config.data.damaged", "Config.data.damaged2"}) {
        Put(file(), damaged);
        auto block = NewBlock();
        const SettingsLoad load = loadSettings(*block, dir_.path());
        EXPECT_EQ(load.source, SettingsSource::kFile);
        EXPECT_EQ(load.reset, (std::array<bool, kProfileCount>{false, true, false, false, true}));
        EXPECT_TRUE(Bytes(block.get(), sizeof *block) == repairedImage);
        EXPECT_EQ(load.keptAs, dir_ / "config" / copyName);
        EXPECT_TRUE(ReadFileBytes(load.keptAs).value() == damaged) << copyName;
        EXPECT_TRUE(ReadFileBytes(file()).value() == repairedImage) << copyName;
    }
    EXPECT_TRUE(ReadFileBytes(dir_ / "config" / "Config.data.damaged").value() == damaged);
}

TEST_F(SettingsFile, DamagedFileStaysWhenItCannotBeCopiedAside) {
    auto saved = Defaults();
    saved->profiles[0].wheelLines = 0;
    const std::string damaged = Bytes(saved.get(), sizeof *saved);
    Put(file(), damaged);
    // Every name a copy could take is already a folder.
    std::filesystem::create_directory(dir_ / "config" / "Config.data.damaged");
    for (int n = 2; n <= 99; ++n) {
        std::filesystem::create_directory(dir_ / "config" /
                                          ("Config.data.damaged" + std::to_string(n)));
    }
    auto block = NewBlock();
    const SettingsLoad load = loadSettings(*block, dir_.path());
    EXPECT_TRUE(load.reset[0]);
    EXPECT_TRUE(load.keptAs.empty());
    EXPECT_EQ(block->profiles[0].wheelLines, 3);
    EXPECT_TRUE(ReadFileBytes(file()).value() == damaged);
}

TEST_F(SettingsFile, CurrentIndexOutsideTheFiveProfilesBecomesZero) {
    const struct {
        int32_t stored;
        int32_t loaded;
    } cases[] = {{0, 0}, {4, 4}, {5, 0}, {-1, 0}, {0x7FFFFFFF, 0}, {INT32_MIN, 0}};
    for (const auto& c : cases) {
        auto saved = Defaults();
        saved->currentIndex = c.stored;
        ASSERT_TRUE(saveSettings(*saved, dir_.path()));
        auto block = NewBlock();
        loadSettings(*block, dir_.path());
        EXPECT_EQ(block->currentIndex, c.loaded) << c.stored;
    }
}

TEST_F(SettingsFile, FailedSaveAtAnyStepKeepsTheOldFile) {
    auto oldBlock = Defaults();
    oldBlock->profiles[0].dpiValues[0] = 11;
    auto newBlock = Defaults();
    newBlock->profiles[4].dpiValues[0] = 22;
    const std::string oldImage = Bytes(oldBlock.get(), sizeof *oldBlock);
    const std::string newImage = Bytes(newBlock.get(), sizeof *newBlock);
    for (int step = 1;; ++step) {
        ASSERT_TRUE(saveSettings(*oldBlock, dir_.path()));
        FaultyWriter writer(step);
        const bool ok = saveSettings(*newBlock, dir_.path(), writer);
        const std::string onDisk = ReadFileBytes(file()).value();
        if (!writer.failed()) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(onDisk == newImage);
            break;
        }
        EXPECT_FALSE(ok) << step;
        EXPECT_TRUE(onDisk == oldImage) << step;
        // The next start reads the old settings.
        auto block = NewBlock();
        EXPECT_EQ(loadSettings(*block, dir_.path()).source, SettingsSource::kFile);
        EXPECT_TRUE(Bytes(block.get(), sizeof *block) == oldImage) << step;
    }
}

TEST_F(SettingsFile, SaveMakesAMissingConfigFolder) {
    std::filesystem::remove_all(dir_ / "config");
    ASSERT_TRUE(saveSettings(*Defaults(), dir_.path()));
    EXPECT_TRUE(ReadFileBytes(file()).value() == Bytes(Defaults().get(), sizeof(ProfileBlock)));
}

TEST_F(SettingsFile, LeftoverTemporaryFileDoesNotSpoilTheNextStart) {
    auto saved = Defaults();
    saved->profiles[2].reportRate = 0;
    ASSERT_TRUE(saveSettings(*saved, dir_.path()));
    Put(TemporaryPathFor(file()), Garbage(5000));  // a save stopped half-way
    auto block = NewBlock();
    EXPECT_EQ(loadSettings(*block, dir_.path()).source, SettingsSource::kFile);
    EXPECT_TRUE(Bytes(block.get(), sizeof *block) == Bytes(saved.get(), sizeof *saved));
    EXPECT_TRUE(saveSettings(*block, dir_.path()));
    EXPECT_TRUE(ReadFileBytes(file()).value() == Bytes(saved.get(), sizeof *saved));
}

class ProfileFile : public ::testing::Test {
  protected:
    ProfileFile() : block_(std::make_unique<ProfileBlock>()) {
        std::memset(block_.get(), 0, sizeof *block_);
        makeDefaults(*block_);
    }
    ProfileRecord& profile() { return block_->profiles[1]; }
    std::string Image() { return Bytes(&profile(), sizeof(ProfileRecord)); }

    TempFolder dir_;
    std::unique_ptr<ProfileBlock> block_;
};

TEST_F(ProfileFile, ExportImportRoundTripsEveryByte) {
    SetFixed(profile().programPath, u"C:\\Program Files\\Game\\game.exe");
    ButtonSlot& slot = profile().buttons[4];
    slot.functionType = 18;
    SetFixed(slot.macroName, u"Jump");
    slot.eventCount = 2;
    slot.events[0] = {0x2C, 1, 30};
    slot.events[1] = {0x2C, 2, 0};
    profile().buttons[23].reserved236[519] = 0xEE;
    const std::string exported = Image();
    const auto path = dir_ / "p.gmp";
    ASSERT_TRUE(exportProfile(profile(), path));
    EXPECT_TRUE(ReadFileBytes(path).value() == exported);

    std::memset(&profile(), 0, sizeof(ProfileRecord));
    ASSERT_EQ(importProfile(profile(), path), ProfileImport::kImported);
    EXPECT_TRUE(Image() == exported);
}

TEST_F(ProfileFile, ShortFileReplacesOnlyTheBeginning) {
    const auto path = dir_ / "short.gmp";
    Put(path, std::string(reinterpret_cast<const char*>(
                              u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwx"),
                          100));
    const std::string before = Image();
    ASSERT_EQ(importProfile(profile(), path), ProfileImport::kImported);
    const std::string after = Image();
    EXPECT_TRUE(after.substr(100) == before.substr(100));
    EXPECT_EQ(std::u16string(profile().name, 50),
              u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwx");
    EXPECT_EQ(profile().name[50], u'\0') << "rest of Default2's zero padding";
}

TEST_F(ProfileFile, LongFileIsReadOnlyOneRecordFar) {
    const auto path = dir_ / "long.gmp";
    ProfileRecord sound = block_->profiles[3];
    sound.dpiValues[2] = 77;
    const std::string content = Bytes(&sound, sizeof sound) + Garbage(777);
    Put(path, content);
    const ProfileRecord next = block_->profiles[2];
    ASSERT_EQ(importProfile(profile(), path), ProfileImport::kImported);
    EXPECT_TRUE(Image() == content.substr(0, sizeof(ProfileRecord)));
    EXPECT_TRUE(Bytes(&block_->profiles[2], sizeof next) == Bytes(&next, sizeof next));
}

// Bytes that are not a profile of this mouse (noise, another kind of file, a profile with one
// field out of range, a short file whose bytes break the fields they cover) change nothing.
TEST_F(ProfileFile, FileThatIsNoProfileChangesNothing) {
    ProfileRecord outOfRange = profile();
    outOfRange.dpiValues[3] = 127;
    const std::string record = Bytes(&outOfRange, sizeof outOfRange);
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"1000 bytes of noise", Garbage(1000, 7)},
        {"a whole record of noise", Garbage(sizeof(ProfileRecord), 3)},
        {"one field out of range", record},
        {"a picture's header", std::string("BM") + std::string(sizeof(ProfileRecord), '\x7F')},
        {"cut inside the DPI values", record.substr(0, 1564 + 4 * 3 + 2) + "\xFF\xFF"},
    };
    const std::string before = Image();
    for (const auto& c : cases) {
        const auto path = dir_ / "wrong.gmp";
        Put(path, c.content);
        EXPECT_EQ(importProfile(profile(), path), ProfileImport::kNotAProfile) << c.what;
        EXPECT_TRUE(Image() == before) << c.what;
    }
}

TEST_F(ProfileFile, WriteFailureIsExplained) {
    const auto readOnly = dir_ / "old.gmp";
    Put(readOnly, "x");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    const bool asRoot = CanOpenForUpdate(readOnly);  // root writes anyway
    if (!asRoot) {
        EXPECT_EQ(ExplainWriteFailure(readOnly), WriteFailure::kFileReadOnly);
    }
    EXPECT_EQ(ExplainWriteFailure(dir_ / "gone" / "p.gmp"), WriteFailure::kFolderMissing);
    EXPECT_EQ(ExplainWriteFailure(dir_ / "new.gmp"), WriteFailure::kFolderRefuses);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_all);
}

TEST_F(ProfileFile, MissingFileChangesNothing) {
    const std::string before = Image();
    EXPECT_EQ(importProfile(profile(), dir_ / "absent.gmp"), ProfileImport::kUnreadable);
    EXPECT_TRUE(Image() == before);
}

TEST_F(ProfileFile, ExportReplacesALongerFileCompletely) {
    const auto path = dir_ / "p.gmp";
    Put(path, Garbage(sizeof(ProfileRecord) * 3));
    ASSERT_TRUE(exportProfile(profile(), path));
    EXPECT_TRUE(ReadFileBytes(path).value() == Image());
}

TEST_F(ProfileFile, FailedExportKeepsTheOldFile) {
    const auto path = dir_ / "p.gmp";
    const std::string old = Garbage(123);
    Put(path, old);
    for (int step = 1; step <= 4; ++step) {
        FaultyWriter writer(step);
        EXPECT_FALSE(exportProfile(profile(), path, writer)) << step;
        EXPECT_TRUE(ReadFileBytes(path).value() == old) << step;
    }
}

}  // namespace
}  // namespace t30
