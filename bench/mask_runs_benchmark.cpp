// The mask runs of the main window's mask picture, from the pixels the region build hands over:
// a bottom-up 32-bit copy of the picture, as the window code makes it with a DIB section.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/skin/mask_runs.h"
#include "ui/skin/skin_file.h"

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t{b.at(at + 3)} << 24;
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

// An uncompressed 8-, 24- or 32-bit BMP file as 32-bit 0x00RRGGBB pixels, bottom row first with
// a 4-byte aligned stride, the layout of the region build's DIB section.
struct Picture {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> bits;
};

Picture ReadBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        throw std::runtime_error("not a BMP file: " + path);
    }
    const std::uint32_t dataAt = Le32(b, 10);
    const std::uint32_t headerSize = Le32(b, 14);
    const auto width = static_cast<std::int32_t>(Le32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(Le32(b, 22));
    const std::uint16_t bpp = Le16(b, 28);
    if (Le32(b, 30) != 0 || (bpp != 8 && bpp != 24 && bpp != 32) || width <= 0 || rawHeight == 0) {
        throw std::runtime_error("unsupported BMP: " + path);
    }
    const bool bottomUp = rawHeight > 0;
    const std::int32_t height = bottomUp ? rawHeight : -rawHeight;
    const std::size_t srcStride = ((std::size_t(width) * bpp + 31) / 32) * 4;
    const std::size_t paletteAt = 14 + headerSize;

    Picture p;
    p.width = width;
    p.height = height;
    p.bits.assign(std::size_t(width) * 4 * height, 0);
    for (std::int32_t y = 0; y < height; ++y) {  // y counts from the bottom row
        const std::size_t srcRow = dataAt + srcStride * (bottomUp ? y : height - 1 - y);
        std::uint8_t* out = p.bits.data() + std::size_t(width) * 4 * y;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* px;
            if (bpp == 8) {
                px = &b.at(paletteAt + 4 * std::size_t(b.at(srcRow + x)));
            } else {
                px = &b.at(srcRow + std::size_t(x) * (bpp / 8));
            }
            std::memcpy(out + 4 * x, px, 3);  // blue, green, red
        }
    }
    return p;
}

std::string MainMaskPath() {
    const std::string folder = T30_BENCH_SKIN_DIR;
    const t30::SkinFile skin(folder + "skin_main.ini");
    const std::u16string name = skin.Pictures(u"SCREEN").mask;
    return folder + std::string(name.begin(), name.end());  // the generated names are ASCII
}

void BM_MainWindowMaskRuns(benchmark::State& state) {
    const Picture mask = ReadBmp(MainMaskPath());
    const std::ptrdiff_t stride = std::ptrdiff_t(mask.width) * 4;
    t30::MaskPixels pixels;
    pixels.top = mask.bits.data() + stride * (mask.height - 1);
    pixels.stride = -stride;
    pixels.width = mask.width;
    pixels.height = mask.height;
    std::size_t runs = 0, batches = 0;
    for (auto _ : state) {
        batches = 0;
        runs = t30::MaskToRuns(pixels, t30::MaskKey{}, t30::MaskKey{0, 0, 0},
                               [&](const t30::RegionBatch& batch) {
                                   benchmark::DoNotOptimize(batch.rects[0]);
                                   ++batches;
                               });
        benchmark::DoNotOptimize(runs);
    }
    state.counters["runs"] = double(runs);
    state.counters["batches"] = double(batches);
    state.counters["pixels"] = double(mask.width) * mask.height;
}
BENCHMARK(BM_MainWindowMaskRuns)->Unit(benchmark::kMicrosecond);

}  // namespace
