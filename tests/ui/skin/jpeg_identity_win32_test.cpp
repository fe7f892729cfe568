// The skin JPEG decoder against the system picture decoder, pixel for pixel: every JPEG of the
// product's skin set and every test picture; and the BMP pictures, which the program reads into
// sections itself. Screenshots of the program must not change when it decodes its skins itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/skin/jpeg_decode.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

// Every file whose name ends in `extension` (".jpg") under `folder` (with a trailing slash),
// subfolders included.
void FindPictures(const std::wstring& folder, const wchar_t* extension,
                  std::vector<std::wstring>& found) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") {
                FindPictures(folder + name + L"/", extension, found);
            }
        } else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, extension) == 0) {
            found.push_back(folder + name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

// A bitmap's pixels as 32-bit top-down rows: blue, green, red, unused.
std::vector<std::uint8_t> PixelsOf(HBITMAP bitmap, SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.cx) * size.cy * 4);
    HDC dc = GetDC(nullptr);
    const int rows =
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != size.cy) {
        pixels.clear();
    }
    return pixels;
}

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    std::vector<std::uint8_t> data;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (f == nullptr) {
        return data;
    }
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        data.insert(data.end(), buffer, buffer + n);
    }
    std::fclose(f);
    return data;
}

// Pixels whose blue, green or red differ, and the largest difference.
struct Difference {
    std::size_t pixels = 0;
    int largest = 0;
};

Difference Compare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    Difference d;
    for (std::size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
        bool differs = false;
        for (std::size_t k = 0; k < 3; ++k) {
            const int delta = std::abs(int{a[i + k]} - int{b[i + k]});
            differs = differs || delta != 0;
            d.largest = delta > d.largest ? delta : d.largest;
        }
        d.pixels += differs ? 1 : 0;
    }
    return d;
}

std::string Narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

// How far ours may be from the system decoder's pixels.
struct Tolerance {
    int largest;           // difference in any colour
    std::size_t perMille;  // share of the pixels that differ
};
constexpr Tolerance kExact{0, 0};

// Decodes one picture both ways; counts it in `compared`, or in `left` when the decoder leaves it
// to the system decoder.
void CompareOne(const std::wstring& path, Tolerance tolerance, int& compared,
                std::vector<std::wstring>& left) {
    {
        SCOPED_TRACE(Narrow(path));
        Bitmap system;
        const SIZE size = LoadPictureWithSystemDecoder(path, system);
        ASSERT_TRUE(system) << "the system decoder takes every test picture";
        const std::vector<std::uint8_t> data = ReadFileBytes(path);
        const auto ours = DecodeJpeg(data.data(), data.size());
        Bitmap dib;
        const SIZE dibSize = LoadSkinPicture(path, dib);
        if (!ours) {
            const Difference sameAsSystem =
                Compare(PixelsOf(system.Get(), size), PixelsOf(dib.Get(), dibSize));
            EXPECT_EQ(sameAsSystem.pixels, 0u) << "the program falls back to the system decoder";
            left.push_back(path);
            return;
        }
        ++compared;
        ASSERT_EQ(ours->width, size.cx);
        ASSERT_EQ(ours->height, size.cy);
        const std::vector<std::uint8_t> expected = PixelsOf(system.Get(), size);
        ASSERT_EQ(expected.size(), ours->pixels.size());
        const Difference decoded = Compare(expected, ours->pixels);
        const std::size_t all = static_cast<std::size_t>(size.cx) * size.cy;
        EXPECT_LE(decoded.largest, tolerance.largest) << decoded.pixels << " of " << all;
        EXPECT_LE(decoded.pixels * 1000, tolerance.perMille * all)
            << "of " << all << " pixels, largest " << decoded.largest;
        if (decoded.pixels != 0) {
            std::printf("%s: %zu of %zu pixels differ, by at most %d\n", Narrow(path).c_str(),
                        decoded.pixels, all, decoded.largest);
        }

        ASSERT_TRUE(dib);
        EXPECT_EQ(dibSize.cx, size.cx);
        EXPECT_EQ(dibSize.cy, size.cy);
        const SIZE real = BitmapSize(dib.Get());
        EXPECT_EQ(real.cx, size.cx);
        EXPECT_EQ(real.cy, size.cy);
        const Difference inDib = Compare(ours->pixels, PixelsOf(dib.Get(), size));
        EXPECT_EQ(inDib.pixels, 0u) << "the program draws the pixels decoded here";
    }
}

std::vector<std::wstring> CompareAll(const std::vector<std::wstring>& pictures, Tolerance tolerance,
                                     int& compared) {
    std::vector<std::wstring> left;
    for (const std::wstring& path : pictures) {
        CompareOne(path, tolerance, compared, left);
    }
    return left;
}

TEST(JpegIdentity, ProductSkinsAreAllTakenAndMatchTheSystemDecoder) {
    std::vector<std::wstring> pictures;
    FindPictures(T30_REAL_SKINS, L".jpg", pictures);
    ASSERT_GE(pictures.size(), 10u) << "the skin set has its state pictures and mouse pictures";
    bool mouseFolder = false;
    for (const std::wstring& p : pictures) {
        mouseFolder = mouseFolder || p.find(L"/Mouse/") != std::wstring::npos;
    }
    EXPECT_TRUE(mouseFolder) << "the Mouse subfolder's pictures are compared too";
    int compared = 0;
    const std::vector<std::wstring> left = CompareAll(pictures, kExact, compared);
    for (const std::wstring& p : left) {
        ADD_FAILURE() << "left to the system decoder: " << Narrow(p);
    }
    std::printf("skin pictures compared pixel for pixel: %d of %zu\n", compared, pictures.size());
}

TEST(JpegIdentity, TestPicturesMatchTheSystemDecoderWhenTaken) {
    std::vector<std::wstring> pictures;
    FindPictures(T30_JPEG_FOLDER, L".jpg", pictures);
    ASSERT_GE(pictures.size(), 20u);
    // Wine's system decoder carries its own build of IJG libjpeg, whose arithmetic ours does not
    // follow in every corner: a few blocks of a noisy picture come out one step apart (22 of
    // 60 000 pixels of large_300x200_444). The skins above are compared exactly; a real fault in
    // the decoder shows as far more, or larger, differences.
    int compared = 0;
    const std::vector<std::wstring> left = CompareAll(pictures, Tolerance{1, 1}, compared);
    std::printf("test pictures compared pixel for pixel: %d of %zu\n", compared, pictures.size());
    std::vector<std::string> names;
    for (const std::wstring& p : left) {
        std::printf("left to the system decoder: %s\n", Narrow(p).c_str());
        names.push_back(Narrow(p.substr(p.find_last_of(L'/') + 1)));
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "cmyk.jpg", "large_301x201_420.jpg", "narrow_3x5_420.jpg", "narrow_5x9_422.jpg",
                  "optimised_420.jpg", "pattern_420.jpg", "pattern_422.jpg", "progressive.jpg",
                  "quality5_420.jpg", "restart_420.jpg", "tiny_1x1_420.jpg"}));
}

// Masks and other BMP pictures become sections in their own format, with exactly the pixels of the
// system decoder's bitmap: a section's memory goes back to the system when it is freed.
TEST(BmpIdentity, SkinBmpPicturesAreSectionsWithTheSystemDecodersPixels) {
    std::vector<std::wstring> pictures{std::wstring(T30_TEST_DATA) + L"solid.bmp"};
    FindPictures(T30_REAL_SKINS, L".bmp", pictures);
    ASSERT_GE(pictures.size(), 10u) << "the masks of every skinned window, a 24-bit test picture";
    for (const std::wstring& path : pictures) {
        SCOPED_TRACE(Narrow(path));
        Bitmap system;
        const SIZE size = LoadPictureWithSystemDecoder(path, system);
        ASSERT_TRUE(system);
        Bitmap ours;
        const SIZE oursSize = LoadSkinPicture(path, ours);
        ASSERT_TRUE(ours);
        EXPECT_EQ(oursSize.cx, size.cx);
        EXPECT_EQ(oursSize.cy, size.cy);
        DIBSECTION section{};
        EXPECT_EQ(GetObjectW(ours.Get(), sizeof section, &section), int{sizeof section})
            << "a section, not a bitmap of the display";
        const std::vector<std::uint8_t> expected = PixelsOf(system.Get(), size);
        ASSERT_FALSE(expected.empty());
        const Difference d = Compare(expected, PixelsOf(ours.Get(), size));
        EXPECT_EQ(d.pixels, 0u) << "largest difference " << d.largest;
    }
}

}  // namespace
}  // namespace t30
