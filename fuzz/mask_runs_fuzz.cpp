// Mask pictures of a skin turned into window regions: any pixels, sizes, row order, key colour and
// tolerance. Every opaque pixel must lie in exactly one run, every run inside the picture, and
// every batch must fit its fixed rectangle array.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "ui/skin/mask_runs.h"

using namespace t30;

namespace {

bool Transparent(const uint8_t* pixel, MaskKey key, MaskKey tolerance) {
    auto inside = [](uint8_t v, uint8_t k, uint8_t t) {
        return v >= k && v <= std::min(k + t, 255);
    };
    // Bytes blue, green, red, unused.
    return inside(pixel[2], key.red, tolerance.red) &&
           inside(pixel[1], key.green, tolerance.green) &&
           inside(pixel[0], key.blue, tolerance.blue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // Header: width, height (0..95 each), flags (bit 0: bottom-up rows, bit 1: padded rows),
    // key and tolerance (red, green, blue each); pixels follow, zero where the input ends.
    if (size < 9) {
        return 0;
    }
    const int width = data[0] % 96;
    const int height = data[1] % 96;
    const bool bottomUp = data[2] & 1;
    const std::size_t pad = (data[2] & 2) ? 4 : 0;
    const MaskKey key{data[3], data[4], data[5]};
    const MaskKey tolerance{data[6], data[7], data[8]};
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4 + pad;
    std::vector<uint8_t> image(rowBytes * static_cast<std::size_t>(height));
    if (!image.empty()) {
        std::memcpy(image.data(), data + 9, std::min(size - 9, image.size()));
    }

    MaskPixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.stride =
        bottomUp ? -static_cast<std::ptrdiff_t>(rowBytes) : static_cast<std::ptrdiff_t>(rowBytes);
    // A bottom-up picture's top row is the last one in memory.
    pixels.top = image.empty() ? nullptr
                 : bottomUp    ? image.data() + rowBytes * static_cast<std::size_t>(height - 1)
                               : image.data();

    std::vector<uint8_t> covered(static_cast<std::size_t>(width) * height, 0);
    std::size_t emitted = 0;
    const std::size_t runs = MaskToRuns(pixels, key, tolerance, [&](const RegionBatch& batch) {
        T30_FUZZ_CHECK(batch.count > 0 && batch.count <= RegionBatch::kMaxRects);
        T30_FUZZ_CHECK(batch.ByteSize() == RegionBatch::kHeaderSize + batch.count * 16);
        for (std::uint32_t i = 0; i < batch.count; ++i) {
            const RunRect& r = batch.rects[i];
            T30_FUZZ_CHECK(r.left >= 0 && r.left < r.right && r.right <= width);
            T30_FUZZ_CHECK(r.top >= 0 && r.bottom == r.top + 1 && r.bottom <= height);
            for (int x = r.left; x < r.right; ++x) {
                uint8_t& c = covered[static_cast<std::size_t>(r.top) * width + x];
                T30_FUZZ_CHECK(c == 0);
                c = 1;
            }
        }
        emitted += batch.count;
    });
    T30_FUZZ_CHECK(runs == emitted);
    for (int y = 0; width > 0 && y < height; ++y) {
        const uint8_t* row = pixels.top + pixels.stride * y;
        for (int x = 0; x < width; ++x) {
            const bool opaque = !Transparent(row + 4 * x, key, tolerance);
            T30_FUZZ_CHECK(covered[static_cast<std::size_t>(y) * width + x] == (opaque ? 1 : 0));
        }
    }
    return 0;
}
