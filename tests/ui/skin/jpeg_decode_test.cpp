// The skin JPEG decoder against libjpeg-turbo's own pixels (made at build time by
// make_jpegs.py), the pictures it must leave to the system decoder, and damaged input.
#include "ui/skin/jpeg_decode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace t30 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadData(const std::string& name) {
    std::ifstream in(std::string(T30_JPEG_DATA) + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<DecodedPicture> Decode(const Bytes& data) {
    return DecodeJpeg(data.data(), data.size());
}

// Offset of the first segment with this marker, or npos (segments before the scan only).
std::size_t FindSegment(const Bytes& data, std::uint8_t marker) {
    std::size_t pos = 2;
    while (pos + 4 <= data.size() && data[pos] == 0xFF) {
        if (data[pos + 1] == marker) {
            return pos;
        }
        if (data[pos + 1] == 0xDA) {
            break;
        }
        pos += 2 + (static_cast<std::size_t>(data[pos + 2]) << 8 | data[pos + 3]);
    }
    return std::string::npos;
}

struct Accepted {
    const char* name;
    int width, height;
};
void PrintTo(const Accepted& a, std::ostream* os) {
    *os << a.name;
}

class JpegMatchesLibjpeg : public ::testing::TestWithParam<Accepted> {};

TEST_P(JpegMatchesLibjpeg, EveryPixel) {
    const Bytes jpeg = ReadData(std::string(GetParam().name) + ".jpg");
    const Bytes expected = ReadData(std::string(GetParam().name) + ".bgrx");
    ASSERT_FALSE(jpeg.empty());
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(GetParam().width) * GetParam().height * 4);
    const auto picture = Decode(jpeg);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, GetParam().width);
    EXPECT_EQ(picture->height, GetParam().height);
    ASSERT_EQ(picture->pixels.size(), expected.size());
    std::size_t differing = 0, first = expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (picture->pixels[i] != expected[i]) {
            first = differing++ == 0 ? i : first;
        }
    }
    EXPECT_EQ(differing, 0u) << "first at pixel " << first / 4 << " byte " << first % 4;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JpegMatchesLibjpeg,
    ::testing::Values(Accepted{"solid_444", 41, 29}, Accepted{"pattern_444", 37, 23},
                      Accepted{"grey", 37, 23}, Accepted{"restart_444", 61, 83},
                      Accepted{"restart_grey", 61, 83}, Accepted{"quality100_444", 40, 16},
                      Accepted{"wide_tables_444", 33, 17}, Accepted{"tiny_1x1_444", 1, 1},
                      Accepted{"tall_1x40_444", 1, 40}, Accepted{"large_300x200_444", 300, 200}),
    [](const ::testing::TestParamInfo<Accepted>& info) { return std::string(info.param.name); });

TEST(JpegDecode, SolidPictureIsOneColourCloseToWhatWasSaved) {
    const auto picture = Decode(ReadData("solid_444.jpg"));
    ASSERT_TRUE(picture.has_value());
    for (std::size_t i = 0; i < picture->pixels.size(); i += 4) {
        ASSERT_NEAR(picture->pixels[i], 153, 2) << "blue of pixel " << i / 4;
        ASSERT_NEAR(picture->pixels[i + 1], 102, 2);
        ASSERT_NEAR(picture->pixels[i + 2], 51, 2);
        ASSERT_EQ(picture->pixels[i + 3], 0);
    }
}

// A change to a good 4:4:4 picture; the decoder must then leave it to the system decoder, or
// (accepted == true) still take it.
struct Variant {
    const char* what;
    const char* base;
    bool accepted;
    void (*change)(Bytes&);
};

void SetSof(Bytes& d, std::size_t at, std::uint8_t value) {
    d[FindSegment(d, 0xC0) + at] = value;
}

void InsertAfterSoi(Bytes& d, const Bytes& segment) {
    d.insert(d.begin() + 2, segment.begin(), segment.end());
}

void RemoveSegment(Bytes& d, std::uint8_t marker) {
    const std::size_t at = FindSegment(d, marker);
    const std::size_t length = static_cast<std::size_t>(d[at + 2]) << 8 | d[at + 3];
    d.erase(d.begin() + static_cast<std::ptrdiff_t>(at),
            d.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
}

// Component ids in the frame and the scan header.
void NameComponents(Bytes& d, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    const std::size_t sof = FindSegment(d, 0xC0);
    d[sof + 10] = a;
    d[sof + 13] = b;
    d[sof + 16] = c;
    const std::size_t sos = FindSegment(d, 0xDA);
    d[sos + 5] = a;
    d[sos + 7] = b;
    d[sos + 9] = c;
}

Bytes Adobe(std::uint8_t transform) {
    return {0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, transform};
}

// The restart markers of a picture, in order.
std::vector<std::size_t> RestartMarkers(const Bytes& d) {
    std::vector<std::size_t> at;
    for (std::size_t i = FindSegment(d, 0xDA); i + 1 < d.size(); ++i) {
        if (d[i] == 0xFF && d[i + 1] >= 0xD0 && d[i + 1] <= 0xD7) {
            at.push_back(i);
        }
    }
    return at;
}

void PrintTo(const Variant& v, std::ostream* os) {
    *os << v.what;
}

class JpegVariant : public ::testing::TestWithParam<Variant> {};

TEST_P(JpegVariant, TakenOrLeft) {
    Bytes data = ReadData(std::string(GetParam().base) + ".jpg");
    ASSERT_TRUE(Decode(data).has_value()) << "the unchanged picture is taken";
    GetParam().change(data);
    EXPECT_EQ(Decode(data).has_value(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, JpegVariant,
    ::testing::Values(
        Variant{"Precision12", "pattern_444", false, [](Bytes& d) { SetSof(d, 4, 12); }},
        Variant{"Arithmetic", "pattern_444", false, [](Bytes& d) { SetSof(d, 1, 0xC9); }},
        Variant{"Lossless", "pattern_444", false, [](Bytes& d) { SetSof(d, 1, 0xC3); }},
        Variant{"HeightFromDnl", "pattern_444", false,
                [](Bytes& d) { SetSof(d, 5, 0), SetSof(d, 6, 0); }},
        Variant{"ChromaSampled2x2", "pattern_444", false, [](Bytes& d) { SetSof(d, 14, 0x22); }},
        Variant{"Luma1x2", "pattern_444", false, [](Bytes& d) { SetSof(d, 11, 0x12); }},
        Variant{"AdobeRgb", "pattern_444", false, [](Bytes& d) { InsertAfterSoi(d, Adobe(0)); }},
        Variant{"AdobeYcck", "pattern_444", false, [](Bytes& d) { InsertAfterSoi(d, Adobe(2)); }},
        Variant{"AdobeYcc", "pattern_444", true, [](Bytes& d) { InsertAfterSoi(d, Adobe(1)); }},
        Variant{"RgbNamesWithoutJfif", "pattern_444", false,
                [](Bytes& d) { NameComponents(d, 'R', 'G', 'B'), RemoveSegment(d, 0xE0); }},
        Variant{"RgbNamesWithJfif", "pattern_444", true,
                [](Bytes& d) { NameComponents(d, 'R', 'G', 'B'); }},
        Variant{"OtherNamesWithoutJfif", "pattern_444", true,
                [](Bytes& d) { NameComponents(d, 7, 8, 9), RemoveSegment(d, 0xE0); }},
        Variant{"CommentAndAppBeforeTables", "pattern_444", true,
                [](Bytes& d) {
                    InsertAfterSoi(d, {0xFF, 0xFE, 0, 5, 'h', 'i', '!'});
                    InsertAfterSoi(d, {0xFF, 0xE5, 0, 2});
                }},
        Variant{"ScanWithUndefinedTable", "pattern_444", false,
                [](Bytes& d) { d[FindSegment(d, 0xDA) + 6] = 0x33; }},
        Variant{"OversubscribedHuffmanTable", "pattern_444", false,
                [](Bytes& d) { d[FindSegment(d, 0xC4) + 5] = 3; }},  // three 1-bit codes
        Variant{"QuantisationTableId4", "pattern_444", false,
                [](Bytes& d) { d[FindSegment(d, 0xDB) + 4] = 4; }},
        Variant{"WrongRestartNumber", "restart_444", false,
                [](Bytes& d) { d[RestartMarkers(d)[2] + 1] = 0xD5; }},
        Variant{"MissingRestartMarker", "restart_444", false,
                [](Bytes& d) {
                    const std::size_t at = RestartMarkers(d)[4];
                    d.erase(d.begin() + static_cast<std::ptrdiff_t>(at),
                            d.begin() + static_cast<std::ptrdiff_t>(at + 2));
                }},
        Variant{"NoEndMarker", "pattern_444", false, [](Bytes& d) { d.resize(d.size() - 2); }},
        Variant{"Huge", "pattern_444", false,
                [](Bytes& d) { SetSof(d, 5, 0xFF), SetSof(d, 6, 0xFF), SetSof(d, 7, 0xFF); }},
        Variant{"LargerThanItsData", "pattern_444", false,
                [](Bytes& d) { SetSof(d, 5, 0x0F), SetSof(d, 7, 0x0F); }}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.what); });

TEST(JpegDecode, LeavesSubsampledProgressiveAndCmykToTheSystemDecoder) {
    for (const char* name :
         {"progressive.jpg", "cmyk.jpg", "pattern_422.jpg", "pattern_420.jpg", "restart_420.jpg",
          "quality5_420.jpg", "optimised_420.jpg", "tiny_1x1_420.jpg", "narrow_3x5_420.jpg",
          "narrow_5x9_422.jpg", "large_301x201_420.jpg"}) {
        const Bytes data = ReadData(name);
        ASSERT_FALSE(data.empty()) << name;
        EXPECT_FALSE(Decode(data).has_value()) << name;
    }
}

TEST(JpegDecode, NothingForNoData) {
    EXPECT_FALSE(DecodeJpeg(nullptr, 0).has_value());
    EXPECT_FALSE(DecodeJpeg(nullptr, 100).has_value());
    const std::uint8_t soi[] = {0xFF, 0xD8, 0xFF, 0xD9};
    EXPECT_FALSE(DecodeJpeg(soi, sizeof soi).has_value()) << "no frame";
}

// Every prefix: the decoder never reads past the end and never returns a half picture.
TEST(JpegDecode, EveryTruncationGivesNothing) {
    for (const char* name : {"pattern_444.jpg", "restart_grey.jpg", "wide_tables_444.jpg"}) {
        const Bytes data = ReadData(name);
        ASSERT_TRUE(Decode(data).has_value()) << name;
        for (std::size_t n = 0; n + 1 < data.size(); ++n) {
            const Bytes prefix(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
            ASSERT_FALSE(Decode(prefix).has_value()) << name << " cut to " << n << " bytes";
        }
    }
}

// Any byte changed anywhere: nothing, or a picture whose buffer matches its size.
TEST(JpegDecode, DamagedBytesNeverBreakTheDecoder) {
    for (const char* name : {"pattern_444.jpg", "restart_grey.jpg", "wide_tables_444.jpg"}) {
        const Bytes data = ReadData(name);
        ASSERT_FALSE(data.empty()) << name;
        for (std::size_t i = 0; i < data.size(); ++i) {
            for (const std::uint8_t flip : {0x01, 0x10, 0x80, 0xFF}) {
                Bytes damaged = data;
                damaged[i] ^= flip;
                const auto picture = Decode(damaged);
                if (picture) {
                    ASSERT_EQ(picture->pixels.size(),
                              static_cast<std::size_t>(picture->width) * picture->height * 4)
                        << name << " byte " << i;
                }
            }
        }
    }
}

}  // namespace
}  // namespace t30
