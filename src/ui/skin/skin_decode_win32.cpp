#include "ui/skin/skin_decode_win32.h"

#include <cstring>
#include <vector>

#include "ui/skin/jpeg_decode.h"

namespace t30 {
namespace {

// Skins are small; anything this large is not one of ours.
constexpr LONGLONG kMaxFileBytes = 64 * 1024 * 1024;

bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& data) {
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file || !GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0 ||
        length.QuadPart > kMaxFileBytes) {
        return false;
    }
    data.resize(static_cast<std::size_t>(length.QuadPart));
    DWORD read = 0;
    return ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
           read == data.size();
}

}  // namespace

bool DecodeJpegToDib(const std::wstring& path, Bitmap& out, SIZE& size) {
    out.Reset();
    size = SIZE{0, 0};
    std::vector<std::uint8_t> data;
    if (!ReadWholeFile(path, data)) {
        return false;
    }
    const std::optional<DecodedPicture> picture = DecodeJpeg(data.data(), data.size());
    data = {};
    if (!picture) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture->width;
    info.bmiHeader.biHeight = -picture->height;  // top-down, the decoder's row order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
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
