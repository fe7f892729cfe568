// The pixel side of turning a mask picture into a window region: every row of the picture,
// top to bottom, becomes the horizontal runs of its opaque pixels, handed out in batches that
// are laid out exactly like the platform's rectangle-list region data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace t30 {

struct RunRect {
    std::int32_t left, top, right, bottom;
};
static_assert(sizeof(RunRect) == 16);

// Same bytes as the platform's region-data header followed by up to kMaxRects rectangles, so a
// batch can be passed to the region constructor as it is (size: kHeaderSize + count * 16).
struct RegionBatch {
    static constexpr std::uint32_t kHeaderSize = 32;
    static constexpr std::uint32_t kRectangles = 1;  // the only region-data type there is
    static constexpr std::size_t kMaxRects = 2000;

    std::uint32_t size = kHeaderSize;
    std::uint32_t type = kRectangles;
    std::uint32_t count = 0;
    std::uint32_t regionSize = 0;  // bytes of the rectangles
    RunRect bounds{};
    RunRect rects[kMaxRects];

    std::uint32_t ByteSize() const { return kHeaderSize + count * sizeof(RunRect); }
};
static_assert(offsetof(RegionBatch, bounds) == 16);
static_assert(offsetof(RegionBatch, rects) == RegionBatch::kHeaderSize);

// A 32-bit pixel picture in memory. Each pixel is the little-endian word 0x00RRGGBB (bytes blue,
// green, red, unused), as in a 32-bit device-independent bitmap. `top` points at the first pixel
// of the picture's top row; `stride` is the signed distance in bytes from one row to the one below
// (negative for bottom-up bitmaps).
struct MaskPixels {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Colours as red, green, blue bytes (the order of a COLORREF). A pixel is transparent when each of
// its three colour channels lies in [key, min(key + tolerance, 255)].
struct MaskKey {
    std::uint8_t red = 255, green = 255, blue = 255;
};

// Calls `emit` for every full batch of RegionBatch::kMaxRects runs and once more for a non-empty
// remainder; a picture without opaque pixels emits nothing. The batch is reused after emit returns.
// Returns the number of runs found.
std::size_t MaskToRuns(const MaskPixels& pixels, MaskKey key, MaskKey tolerance,
                       const std::function<void(const RegionBatch&)>& emit);

}  // namespace t30
