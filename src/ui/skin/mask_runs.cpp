#include "ui/skin/mask_runs.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace t30 {
namespace {

void ResetBatch(RegionBatch& batch) {
    batch.count = 0;
    batch.regionSize = 0;
    batch.bounds = {std::numeric_limits<std::int32_t>::max(),
                    std::numeric_limits<std::int32_t>::max(), 0, 0};
}

inline std::uint32_t LoadPixel(const std::uint8_t* row, std::int32_t x) {
    std::uint32_t p;
    std::memcpy(&p, row + static_cast<std::size_t>(x) * 4, 4);  // rows need not be aligned
    return p;
}

// Transparency test for one pixel; the exact-key case (every caller's) is one compare.
struct Transparency {
    std::uint32_t exact;  // 0x00RRGGBB of the key when the tolerance is zero
    bool exactOnly;
    std::uint8_t lo[3], hi[3];  // per memory byte: blue, green, red

    Transparency(MaskKey key, MaskKey tol) {
        const std::uint8_t k[3] = {key.blue, key.green, key.red};
        const std::uint8_t t[3] = {tol.blue, tol.green, tol.red};
        for (int i = 0; i < 3; ++i) {
            lo[i] = k[i];
            hi[i] = static_cast<std::uint8_t>(std::min(255, k[i] + t[i]));
        }
        exactOnly = t[0] == 0 && t[1] == 0 && t[2] == 0;
        exact = std::uint32_t{key.red} << 16 | std::uint32_t{key.green} << 8 | key.blue;
    }

    bool operator()(std::uint32_t p) const {
        if (exactOnly) {
            return (p & 0x00FFFFFFu) == exact;
        }
        for (int i = 0; i < 3; ++i) {
            const std::uint8_t b = static_cast<std::uint8_t>(p >> (8 * i));
            if (b < lo[i] || b > hi[i]) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace

std::size_t MaskToRuns(const MaskPixels& pixels, MaskKey key, MaskKey tolerance,
                       const std::function<void(const RegionBatch&)>& emit) {
    if (pixels.top == nullptr || pixels.width <= 0 || pixels.height <= 0) {
        return 0;
    }
    const Transparency transparent(key, tolerance);
    auto batch = std::make_unique<RegionBatch>();
    ResetBatch(*batch);
    std::size_t total = 0;

    auto flush = [&] {
        batch->regionSize = batch->count * sizeof(RunRect);
        emit(*batch);
        ResetBatch(*batch);
    };

    for (std::int32_t y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = pixels.top + pixels.stride * y;
        std::int32_t x = 0;
        while (x < pixels.width) {
            const std::int32_t x0 = x;
            while (x < pixels.width && !transparent(LoadPixel(row, x))) {
                ++x;
            }
            if (x > x0) {
                RunRect& r = batch->rects[batch->count++];
                r = {x0, y, x, y + 1};
                RunRect& b = batch->bounds;
                b.left = std::min(b.left, x0);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y + 1);
                ++total;
                if (batch->count == RegionBatch::kMaxRects) {
                    flush();
                }
            }
            ++x;  // the transparent pixel that ended the run
        }
    }
    if (batch->count > 0) {
        flush();
    }
    return total;
}

}  // namespace t30
