#include "ui/skin/skin_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace t30 {
namespace {

constexpr char kSkin[] =
    "[SCREEN]\r\n"
    "Mask=main_mask.bmp\r\n"
    "Normal = main_normal.jpg \r\n"
    "Over=Sub\\main_over.gif\r\n"
    "Down=main_down.bmp\r\n"
    "[buttonpos]\r\n"
    "1=ok,20,300,80,24\r\n"
    "2=tip,1,2,3,4,  Save file  \r\n"
    "67=,5,6,7,8\r\n";

TEST(SkinFile, ReadsStatePicturesWhateverTheCaseOfTheSection) {
    const SkinFile skin = SkinFile::FromText(kSkin);
    for (const char16_t* section : {u"SCREEN", u"Screen", u"screen"}) {
        const StatePictureNames names = skin.Pictures(section);
        EXPECT_EQ(names.mask, u"main_mask.bmp");
        EXPECT_EQ(names.normal, u"main_normal.jpg");
        EXPECT_EQ(names.over, u"Sub\\main_over.gif");
        EXPECT_EQ(names.down, u"main_down.bmp");
        EXPECT_EQ(names.disable, u"") << "a missing key reads as empty";
    }
    const StatePictureNames none = skin.Pictures(u"OTHER");
    EXPECT_EQ(none.normal, u"");
}

TEST(SkinFile, ControlEntriesByDecimalKey) {
    const SkinFile skin = SkinFile::FromText(kSkin);
    const SkinEntry ok = skin.Entry(1);
    EXPECT_EQ(ok.name, u"ok");
    EXPECT_EQ(ok.left, 20);
    EXPECT_EQ(ok.top, 300);
    EXPECT_EQ(ok.right, 100);
    EXPECT_EQ(ok.bottom, 324);
    EXPECT_EQ(skin.Entry(2).text, u"Save file");
    const SkinEntry unnamed = skin.Entry(67);
    EXPECT_EQ(unnamed.name, u"");
    EXPECT_EQ(unnamed.right, 12);
    // A missing key is an empty rectangle: the control is made with no size.
    const SkinEntry missing = skin.Entry(5);
    EXPECT_EQ(missing.Width(), 0);
    EXPECT_EQ(missing.Height(), 0);
    EXPECT_EQ(missing.name, u"");
}

TEST(SkinFile, MissingFileReadsAsEmpty) {
    const SkinFile skin(std::filesystem::path("no_such_folder") / "skin_main.ini");
    EXPECT_EQ(skin.Read(u"SCREEN", u"Normal"), u"");
    EXPECT_EQ(skin.Entry(1).right, 0);
}

TEST(SkinFile, ReadsFromDisk) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "t30_skin_file_test.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << kSkin;
    }
    const SkinFile skin(path);
    EXPECT_EQ(skin.Pictures(u"Screen").mask, u"main_mask.bmp");
    EXPECT_EQ(skin.Entry(1).bottom, 324);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace t30
