#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ui/framework/app_globals.h"
#include "ui/skin/mask_runs.h"
#include "ui/skin/skin_decode_win32.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

static_assert(sizeof(RGNDATAHEADER) == RegionBatch::kHeaderSize);
static_assert(offsetof(RGNDATA, Buffer) == offsetof(RegionBatch, rects));
static_assert(offsetof(RGNDATAHEADER, rcBound) == offsetof(RegionBatch, bounds));
static_assert(RegionBatch::kRectangles == RDH_RECTANGLES);

// The picture decoder needs COM on the calling thread. Entering and leaving COM around every
// picture costs several milliseconds each, so a thread enters once and stays (a thread that has
// entered COM already keeps its own setting).
void EnsureCom() {
    thread_local const bool entered = [] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        return true;
    }();
    (void)entered;
}

// The whole file in movable global memory, or nullptr.
HGLOBAL ReadFileToGlobal(const std::wstring& path, DWORD& size) {
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file || !GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0 ||
        length.QuadPart > 256 * 1024 * 1024) {
        return nullptr;
    }
    size = static_cast<DWORD>(length.QuadPart);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    void* data = GlobalLock(memory);
    DWORD read = 0;
    const bool ok =
        data != nullptr && ReadFile(file.Get(), data, size, &read, nullptr) && read == size;
    GlobalUnlock(memory);
    if (!ok) {
        GlobalFree(memory);
        return nullptr;
    }
    return memory;
}

// Decodes the file's bytes in `memory` (which it frees) with the system picture decoder.
SIZE SystemDecode(HGLOBAL memory, DWORD size, Bitmap& bitmap) {
    EnsureCom();
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {  // the stream frees memory
        GlobalFree(memory);
        return SIZE{0, 0};
    }
    const ComPtr<IStream> stream(rawStream);
    IPicture* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture)))) {
        return SIZE{0, 0};
    }
    const ComPtr<IPicture> picture(rawPicture);
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.Get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.Get()->get_Handle(&handle)) || handle == 0) {
        return SIZE{0, 0};
    }
    // The picture object deletes its own bitmap when released; keep a copy that is ours alone.
    // A section's memory goes back to the system when the picture is freed, where Wine keeps
    // the heap an ordinary bitmap lived in.
    bitmap.Reset(
        static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return BitmapSize(bitmap.Get());
}

enum class BmpRead { kDone, kDamaged, kNotOurs };

// A BMP file's pixels in a section made with the file's own header, as the system's loader makes
// one, from the bytes already read: loading it by name again would open and map the file a second
// time. What this does not read (compressed pixels, old-style or odd headers) is left to the
// system as before. A file whose pixels would lie past its end is damaged and goes nowhere else:
// Wine's loader reads past the end of such a file and takes the program down.
BmpRead BmpToSection(const std::uint8_t* data, std::size_t size, Bitmap& bitmap) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    if (size < sizeof file + sizeof header.biSize) {
        return BmpRead::kDamaged;
    }
    std::memcpy(&file, data, sizeof file);
    if (file.bfOffBits > size) {
        return BmpRead::kDamaged;
    }
    std::memcpy(&header.biSize, data + sizeof file, sizeof header.biSize);
    if (header.biSize < sizeof header || header.biSize > size - sizeof file) {
        return BmpRead::kNotOurs;
    }
    std::memcpy(&header, data + sizeof file, sizeof header);
    if ((header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) ||
        header.biWidth <= 0 || header.biWidth > 65536 || header.biHeight == 0 ||
        header.biHeight > 65536 || header.biHeight < -65536 || header.biPlanes != 1) {
        return BmpRead::kNotOurs;
    }
    std::size_t masks = 0;
    if (header.biCompression == BI_BITFIELDS) {
        if (header.biBitCount != 16 && header.biBitCount != 32) {
            return BmpRead::kNotOurs;
        }
        masks = header.biSize == sizeof header ? 3 * sizeof(DWORD) : 0;  // later headers hold them
    }
    std::size_t colours = header.biClrUsed;  // for 16 bits and more, a table the pixels do not use
    switch (header.biBitCount) {
        case 1:
        case 4:
        case 8:
            if (colours == 0) {
                colours = std::size_t{1} << header.biBitCount;
            } else if (colours > (std::size_t{1} << header.biBitCount)) {
                return BmpRead::kNotOurs;
            }
            break;
        case 16:
        case 24:
        case 32:
            if (colours > 256) {
                return BmpRead::kNotOurs;
            }
            break;
        default:
            return BmpRead::kNotOurs;
    }
    const std::size_t infoBytes = header.biSize + masks + colours * sizeof(RGBQUAD);
    if (file.bfOffBits < sizeof file + infoBytes) {
        return BmpRead::kNotOurs;
    }
    const std::size_t rows =
        static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    const std::size_t stride =
        (static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const std::size_t pixelBytes = stride * rows;
    if (pixelBytes > size - file.bfOffBits) {
        return BmpRead::kDamaged;
    }
    void* bits = nullptr;
    bitmap.Reset(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(data + sizeof file),
                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        bitmap.Reset();
        return BmpRead::kNotOurs;
    }
    std::memcpy(bits, data + file.bfOffBits, pixelBytes);
    return BmpRead::kDone;
}

}  // namespace

SIZE LoadSkinPicture(const std::wstring& path, Bitmap& bitmap) {
    bitmap.Reset();
    DWORD size = 0;
    HGLOBAL memory = ReadFileToGlobal(path, size);
    if (memory == nullptr) {
        return SIZE{0, 0};
    }
    // The skins' JPEG pictures are decoded here: once used, the system decoder stays loaded with
    // several MiB of memory for the rest of the program's life in the notification area.
    SIZE decoded{0, 0};
    const void* data = GlobalLock(memory);
    const bool ours =
        data != nullptr && JpegToDib(static_cast<const std::uint8_t*>(data), size, bitmap, decoded);
    const bool isBmp = data != nullptr && size > 2 && static_cast<const char*>(data)[0] == 'B' &&
                       static_cast<const char*>(data)[1] == 'M';
    GlobalUnlock(memory);
    if (ours) {
        GlobalFree(memory);
        return decoded;
    }
    // A BMP file goes straight into a section in its own format. The system picture decoder
    // makes an ordinary bitmap of it, whose memory, under Wine, stays in a heap of the process
    // once freed (for a window-sized mask, for the rest of the program's life).
    if (isBmp) {
        data = GlobalLock(memory);
        const BmpRead read =
            data == nullptr ? BmpRead::kNotOurs
                            : BmpToSection(static_cast<const std::uint8_t*>(data), size, bitmap);
        GlobalUnlock(memory);
        if (read == BmpRead::kNotOurs) {
            bitmap.Reset(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        }
        if (bitmap || read == BmpRead::kDamaged) {
            GlobalFree(memory);
            return BitmapSize(bitmap.Get());
        }
    }
    return SystemDecode(memory, size, bitmap);
}

SIZE LoadPictureWithSystemDecoder(const std::wstring& path, Bitmap& bitmap) {
    bitmap.Reset();
    DWORD size = 0;
    HGLOBAL memory = ReadFileToGlobal(path, size);
    return memory == nullptr ? SIZE{0, 0} : SystemDecode(memory, size, bitmap);
}

Region MaskToRegion(HBITMAP mask, COLORREF key, COLORREF tolerance) {
    if (mask == nullptr) {
        return Region();
    }
    MemoryDC sectionDc(CreateCompatibleDC(nullptr));
    if (!sectionDc) {
        return Region();
    }
    const SIZE size = BitmapSize(mask);
    if (size.cx <= 0 || size.cy <= 0) {
        return Region();
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap section(CreateDIBSection(sectionDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || bits == nullptr) {
        return Region();
    }
    {
        SelectGuard sectionSel(sectionDc.Get(), section.Get());
        MemoryDC sourceDc(CreateCompatibleDC(sectionDc.Get()));
        SelectGuard sourceSel(sourceDc.Get(), mask);
        if (!sectionSel.Ok() || !sourceSel.Ok()) {
            return Region();
        }
        // In bands: a copy between formats (an 8-bit mask into 32 bits) goes through a buffer of
        // the copied size, which Wine takes from a heap that keeps a window-sized one for good.
        constexpr int kBandRows = 32;
        for (int top = 0; top < size.cy; top += kBandRows) {
            const int rows = size.cy - top < kBandRows ? size.cy - top : kBandRows;
            BitBlt(sectionDc.Get(), 0, top, size.cx, rows, sourceDc.Get(), 0, top, SRCCOPY);
        }
        GdiFlush();
    }

    const std::ptrdiff_t stride = ((size.cx * 32 + 31) / 32) * 4;
    MaskPixels pixels;
    pixels.top = static_cast<const std::uint8_t*>(bits) + stride * (size.cy - 1);
    pixels.stride = -stride;
    pixels.width = size.cx;
    pixels.height = size.cy;
    const MaskKey k{GetRValue(key), GetGValue(key), GetBValue(key)};
    const MaskKey t{GetRValue(tolerance), GetGValue(tolerance), GetBValue(tolerance)};

    Region result;
    bool failed = false;
    MaskToRuns(pixels, k, t, [&](const RegionBatch& batch) {
        Region part(
            ExtCreateRegion(nullptr, batch.ByteSize(), reinterpret_cast<const RGNDATA*>(&batch)));
        if (!part) {
            failed = true;
        } else if (!result) {
            result = std::move(part);
        } else if (CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR) == ERROR) {
            failed = true;
        }
    });
    if (failed) {
        return Region();
    }
    if (!result) {
        result.Reset(CreateRectRgn(0, 0, 0, 0));  // no opaque pixel: empty, not none
    }
    return result;
}

int LoadLangString(UINT id, wchar_t* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) {
        return 0;
    }
    buffer[0] = L'\0';
    HMODULE library = App().language.Get();
    if (library == nullptr) {
        return 0;
    }
    const int n = LoadStringW(library, id, buffer, capacity);
    if (n <= 0) {
        buffer[0] = L'\0';
        return 0;
    }
    return n;
}

std::wstring LangString(UINT id, int capacity) {
    std::wstring text(static_cast<std::size_t>(capacity > 0 ? capacity : 1), L'\0');
    text.resize(static_cast<std::size_t>(LoadLangString(id, text.data(), capacity)));
    return text;
}

}  // namespace t30
