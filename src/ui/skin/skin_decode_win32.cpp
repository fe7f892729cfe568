#include "ui/skin/skin_decode_win32.h"

#include <cstring>

#include "ui/skin/jpeg_decode.h"

namespace t30 {
bool JpegToDib(const std::uint8_t* data, std::size_t length, Bitmap& out, SIZE& size) {
    out.Reset();
    size = SIZE{0, 0};
    const std::optional<DecodedPicture> picture = DecodeJpeg(data, length);
    if (!picture) {
        return false;
    }
    void* bits = nullptr;
    Bitmap section = MakeDibSection(picture->width, picture->height, &bits);  // the decoder's rows
    if (!section || bits == nullptr) {
        return false;
    }
    // 32-bit rows need no padding, so the decoder's buffer is the section's layout exactly.
    std::memcpy(bits, picture->pixels.data(), picture->pixels.size());
    GdiFlush();
    out = std::move(section);
    size = SIZE{picture->width, picture->height};
    return true;
}

}  // namespace t30
