#include "ui/skin/mask_runs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace t30 {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kBlack = 0x00000000;

// A picture in memory, top row first, 0x00RRGGBB per pixel (high byte left as garbage on purpose:
// 32-bit bitmaps leave it undefined).
struct Picture {
    std::int32_t width, height;
    std::vector<std::uint32_t> pixels;

    Picture(std::int32_t w, std::int32_t h, std::uint32_t fill)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill | 0xAB000000) {}
    // '#' opaque (black), '.' transparent (white); all rows the same length.
    static Picture FromRows(const std::vector<std::string>& rows) {
        Picture p(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()),
                  kWhite);
        for (std::int32_t y = 0; y < p.height; ++y) {
            for (std::int32_t x = 0; x < p.width; ++x) {
                if (rows[y][x] == '#') {
                    p.At(x, y) = kBlack;
                }
            }
        }
        return p;
    }
    std::uint32_t& At(std::int32_t x, std::int32_t y) {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    MaskPixels TopDown() const {
        return {reinterpret_cast<const std::uint8_t*>(pixels.data()), std::ptrdiff_t{width} * 4,
                width, height};
    }
};

struct Collected {
    std::vector<RunRect> rects;
    std::vector<std::uint32_t> batchCounts;
    std::size_t total = 0;
};

Collected Collect(const MaskPixels& px, MaskKey key = {}, MaskKey tol = {0, 0, 0}) {
    Collected out;
    out.total = MaskToRuns(px, key, tol, [&](const RegionBatch& b) {
        EXPECT_EQ(b.size, 32u);
        EXPECT_EQ(b.type, 1u);
        EXPECT_EQ(b.regionSize, b.count * 16);
        EXPECT_EQ(b.ByteSize(), 32 + b.count * 16);
        // The bounding box is exactly the union of this batch's rectangles.
        RunRect box{b.rects[0].left, b.rects[0].top, b.rects[0].right, b.rects[0].bottom};
        for (std::uint32_t i = 0; i < b.count; ++i) {
            box.left = std::min(box.left, b.rects[i].left);
            box.top = std::min(box.top, b.rects[i].top);
            box.right = std::max(box.right, b.rects[i].right);
            box.bottom = std::max(box.bottom, b.rects[i].bottom);
            out.rects.push_back(b.rects[i]);
        }
        EXPECT_EQ(std::memcmp(&box, &b.bounds, sizeof box), 0);
        out.batchCounts.push_back(b.count);
    });
    return out;
}

bool SameRect(const RunRect& a, const RunRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MaskRuns, RowsTopToBottomRunsLeftToRight) {
    const Picture p = Picture::FromRows({
        "##..###.#",
        ".........",
        ".#######.",
        "#########",
    });
    const Collected c = Collect(p.TopDown());
    const std::vector<RunRect> expected = {
        {0, 0, 2, 1}, {4, 0, 7, 1}, {8, 0, 9, 1}, {1, 2, 8, 3}, {0, 3, 9, 4},
    };
    ASSERT_EQ(c.rects.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(SameRect(c.rects[i], expected[i])) << "run " << i;
    }
    EXPECT_EQ(c.total, expected.size());
    EXPECT_EQ(c.batchCounts, std::vector<std::uint32_t>{5});
}

TEST(MaskRuns, BottomUpRowsGiveTheSamePicture) {
    const Picture p = Picture::FromRows({"#..", ".#.", "..#", "###"});
    // Store it bottom-up, as a device-independent section is, and walk it with a negative stride.
    std::vector<std::uint32_t> flipped(p.pixels.size());
    for (std::int32_t y = 0; y < p.height; ++y) {
        std::memcpy(&flipped[static_cast<std::size_t>(p.height - 1 - y) * p.width],
                    &p.pixels[static_cast<std::size_t>(y) * p.width], p.width * 4);
    }
    const MaskPixels bottomUp{
        reinterpret_cast<const std::uint8_t*>(flipped.data()) + (p.height - 1) * p.width * 4,
        -std::ptrdiff_t{p.width} * 4, p.width, p.height};
    const Collected a = Collect(p.TopDown());
    const Collected b = Collect(bottomUp);
    ASSERT_EQ(a.rects.size(), b.rects.size());
    for (std::size_t i = 0; i < a.rects.size(); ++i) {
        EXPECT_TRUE(SameRect(a.rects[i], b.rects[i])) << "run " << i;
    }
}

TEST(MaskRuns, AllWhiteGivesNoBatchAtAll) {
    const Picture p(64, 48, kWhite);
    const Collected c = Collect(p.TopDown());
    EXPECT_EQ(c.total, 0u);
    EXPECT_TRUE(c.batchCounts.empty());
}

TEST(MaskRuns, MoreThan2000RunsComeInBatchesThatCoverEveryOpaquePixel) {
    // Every other pixel opaque: 50 runs per row, 2550 in all.
    Picture p(100, 51, kWhite);
    for (std::int32_t y = 0; y < p.height; ++y) {
        for (std::int32_t x = (y % 2); x < p.width; x += 2) {
            p.At(x, y) = 0x00102030;
        }
    }
    const Collected c = Collect(p.TopDown());
    EXPECT_EQ(c.total, 2550u);
    EXPECT_EQ(c.batchCounts, (std::vector<std::uint32_t>{2000, 550}));

    std::vector<int> covered(p.pixels.size(), 0);
    for (const RunRect& r : c.rects) {
        ASSERT_EQ(r.bottom, r.top + 1);
        for (std::int32_t x = r.left; x < r.right; ++x) {
            ++covered[static_cast<std::size_t>(r.top) * p.width + x];
        }
    }
    for (std::int32_t y = 0; y < p.height; ++y) {
        for (std::int32_t x = 0; x < p.width; ++x) {
            const bool opaque = (p.At(x, y) & 0xFFFFFF) != kWhite;
            ASSERT_EQ(covered[static_cast<std::size_t>(y) * p.width + x], opaque ? 1 : 0)
                << x << "," << y;
        }
    }
}

TEST(MaskRuns, ExactlyOneFullBatchIsNotFollowedByAnEmptyOne) {
    Picture p(4000, 1, kWhite);
    for (std::int32_t x = 0; x < p.width; x += 2) {
        p.At(x, 0) = kBlack;
    }
    const Collected c = Collect(p.TopDown());
    EXPECT_EQ(c.batchCounts, std::vector<std::uint32_t>{2000});
}

TEST(MaskRuns, ToleranceWidensTheKeyPerChannel) {
    // Colours as 0x00RRGGBB words.
    struct Case {
        std::uint32_t pixel;
        MaskKey key, tol;
        bool transparent;
    };
    const Case cases[] = {
        {0x00FFFFFF, {255, 255, 255}, {0, 0, 0}, true},
        {0x00FEFFFF, {255, 255, 255}, {0, 0, 0}, false},  // red 254 is inside the shape
        {0x00FFFFFE, {255, 255, 255}, {0, 0, 0}, false},
        {0x00FF0000, {255, 0, 0}, {0, 0, 0}, true},  // a red key matches red, not blue
        {0x000000FF, {255, 0, 0}, {0, 0, 0}, false},
        {0x00F00A05, {240, 10, 0}, {0, 0, 5}, true},
        {0x00F00A06, {240, 10, 0}, {0, 0, 5}, false},
        {0x00FF0A05, {250, 10, 0}, {10, 0, 5}, true},  // the range stops at 255
        {0x00F90A05, {250, 10, 0}, {10, 0, 5}, false},
    };
    for (const Case& c : cases) {
        Picture p(1, 1, c.pixel);
        EXPECT_EQ(Collect(p.TopDown(), c.key, c.tol).total, c.transparent ? 0u : 1u)
            << std::hex << c.pixel;
    }
}

TEST(MaskRuns, EmptyOrMissingPictureGivesNothing) {
    std::uint32_t pixel = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&pixel);
    EXPECT_EQ(Collect({nullptr, 4, 1, 1}).total, 0u);
    EXPECT_EQ(Collect({bytes, 4, 0, 1}).total, 0u);
    EXPECT_EQ(Collect({bytes, 4, 1, 0}).total, 0u);
}

TEST(MaskRuns, MainWindowSizedMaskIsFast) {
    // A rounded window of 1000 x 700 with a ragged edge: thousands of runs.
    Picture p(1000, 700, kWhite);
    for (std::int32_t y = 0; y < p.height; ++y) {
        const std::int32_t inset = (y * 7) % 40;
        for (std::int32_t x = inset; x < p.width - inset; ++x) {
            p.At(x, y) = ((x / 10) % 5 == 0 && y % 3 == 0) ? kWhite : kBlack;
        }
    }
    std::size_t batches = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::size_t runs = MaskToRuns(p.TopDown(), MaskKey{}, MaskKey{0, 0, 0},
                                        [&](const RegionBatch&) { ++batches; });
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(runs, 4000u);
    EXPECT_EQ(batches, (runs + 1999) / 2000);
    RecordProperty("milliseconds", std::to_string(ms));
    // Generous even under sanitizers; the measured figure is far lower.
    EXPECT_LT(ms, 500.0);
}

}  // namespace
}  // namespace t30
