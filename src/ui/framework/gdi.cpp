#include "ui/framework/gdi.h"

namespace t30 {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

HFONT MakeArialFont(int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

Bitmap MakeDibSection(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    Bitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits != nullptr) {
        *bits = section ? pixels : nullptr;
    }
    return section;
}

// A section rather than a bitmap compatible with the target: under Wine a compatible bitmap's
// memory comes from the display side's heap, which keeps a window-sized hole after each paint.
OffscreenBuffer::OffscreenBuffer(HDC target, int width, int height)
    : target_(target),
      width_(width > 0 ? width : 1),
      height_(height > 0 ? height : 1),
      dc_(CreateCompatibleDC(target)),
      bitmap_(MakeDibSection(width_, height_)),
      select_(dc_.Get(), bitmap_.Get()) {}

OffscreenBuffer::~OffscreenBuffer() {
    if (!presented_) {
        Present();
    }
    select_.Restore();  // before the bitmap and the DC go
}

void OffscreenBuffer::Present(int width, int height) {
    presented_ = true;
    if (!Ok()) {
        return;
    }
    BitBlt(target_, 0, 0, width < 0 ? width_ : width, height < 0 ? height_ : height, dc_.Get(), 0,
           0, SRCCOPY);
}

}  // namespace t30
