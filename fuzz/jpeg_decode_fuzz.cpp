// Skin pictures as found in a skin folder: any bytes, as the picture loader hands them to the
// JPEG decoder before it falls back to the system decoder. A picture it takes must have the size
// it claims and exactly its pixels' bytes; anything else must give nothing, never a crash.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "ui/skin/jpeg_decode.h"

using namespace t30;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto picture = DecodeJpeg(data, size);
    if (picture) {
        T30_FUZZ_CHECK(picture->width > 0 && picture->height > 0);
        T30_FUZZ_CHECK(picture->pixels.size() ==
                       static_cast<std::size_t>(picture->width) * picture->height * 4);
        for (std::size_t i = 3; i < picture->pixels.size(); i += 4) {
            T30_FUZZ_CHECK(picture->pixels[i] == 0);
        }
    }
    return 0;
}
