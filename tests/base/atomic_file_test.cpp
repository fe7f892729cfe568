#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "faulty_writer.h"

namespace t30 {
namespace {

using testing::FaultyWriter;
using testing::TempFolder;

void Put(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::filesystem::path& path) {
    return ReadFileBytes(path).value_or("<none>");
}

// Big enough to need more than one write.
std::string Image(char fill, std::size_t size = 150000) {
    std::string s(size, fill);
    s[0] = 'H';
    s[size - 1] = 'T';
    return s;
}

TEST(AtomicFile, EveryFailedStepLeavesTheOldFileWhole) {
    TempFolder dir;
    const auto target = dir / "data.bin";
    const std::string oldImage = Image('o');
    const std::string newImage = Image('n', 100000);
    int step = 1;
    for (;; ++step) {
        Put(target, oldImage);
        FaultyWriter writer(step);
        const bool ok = WriteFileAtomically(target, newImage, writer);
        if (!writer.failed()) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(Get(target), newImage);
            break;
        }
        EXPECT_FALSE(ok) << "step " << step;
        EXPECT_EQ(Get(target), oldImage) << "step " << step;
        EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(target))) << "step " << step;
    }
    // create, two writes, flush, close, replace
    EXPECT_EQ(step, 7);
}

TEST(AtomicFile, FirstSaveFailingLeavesNoFile) {
    TempFolder dir;
    const auto target = dir / "data.bin";
    FaultyWriter writer(2);
    EXPECT_FALSE(WriteFileAtomically(target, "abc", writer));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(AtomicFile, LeftoverTemporaryFileIsOverwritten) {
    TempFolder dir;
    const auto target = dir / "data.bin";
    Put(TemporaryPathFor(target), Image('x'));
    ASSERT_TRUE(WriteFileAtomically(target, "short"));
    EXPECT_EQ(Get(target), "short");
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(target)));
}

TEST(AtomicFile, ShorterContentReplacesLongerWhole) {
    TempFolder dir;
    const auto target = dir / "data.bin";
    Put(target, Image('o'));
    ASSERT_TRUE(WriteFileAtomically(target, ""));
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
}

TEST(AtomicFile, MissingFolderFails) {
    TempFolder dir;
    EXPECT_FALSE(WriteFileAtomically(dir / "nowhere" / "data.bin", "abc"));
}

TEST(AtomicFile, NonAsciiPathsWork) {
    TempFolder dir;
    const auto folder = dir.path() / std::filesystem::u8path(u8"Конфиг \u00e4\u4e2d");
    std::filesystem::create_directory(folder);
    const auto target = folder / std::filesystem::u8path(u8"Profil \u00f6.gmp");
    ASSERT_TRUE(WriteFileAtomically(target, "first"));
    ASSERT_TRUE(WriteFileAtomically(target, "second"));
    EXPECT_EQ(Get(target), "second");
    EXPECT_TRUE(CanOpenForUpdate(target));
    EXPECT_FALSE(CanOpenForUpdate(folder / "absent"));
}

TEST(AtomicFile, ReadFileBytesHonoursLimitAndAbsence) {
    TempFolder dir;
    Put(dir / "f", "0123456789");
    EXPECT_EQ(ReadFileBytes(dir / "f", 4).value(), "0123");
    EXPECT_EQ(ReadFileBytes(dir / "f").value(), "0123456789");
    EXPECT_FALSE(ReadFileBytes(dir / "missing").has_value());
}

}  // namespace
}  // namespace t30
