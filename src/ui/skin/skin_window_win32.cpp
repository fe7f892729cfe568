#include "ui/skin/skin_window_win32.h"

#include "ui/framework/app_globals.h"
#include "ui/skin/skin_file.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

void BuildSkinWindow(HWND window, const std::wstring& file, std::u16string_view section,
                     const std::vector<SkinControl>& controls, SkinWindowImages& images) {
    const std::wstring folder = App().skinFolder;
    const SkinFile skin(std::filesystem::path(folder + file));
    const StatePictureNames names = skin.Pictures(section);
    auto path = [&](const std::u16string& name) {
        // no key: no picture, not the skin folder itself
        return name.empty() ? std::wstring() : folder + ToWide(name);
    };

    // The mask is needed only for the window's shape: shaped and freed before any state picture
    // is decoded, so the largest pictures are never held all at once. The background is decoded
    // now for the window's size; the other states when something first draws them.
    Region shape;
    {
        Bitmap mask;
        if (!names.mask.empty()) {
            LoadSkinPicture(path(names.mask), mask);
        }
        shape = MaskToRegion(mask.Get());
    }
    images.pictures = StatePictures::FromFiles(
        {path(names.normal), path(names.over), path(names.down), path(names.disable)});
    images.size = images.pictures->Size(SkinState::kNormal);

    SetWindowPos(window, nullptr, 0, 0, images.size.cx, images.size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (shape) {
        SetWindowRgn(window, shape.Release(), TRUE);  // the system owns it from here on
    }

    const SkinPictures pictures{images.pictures};
    for (const SkinControl& control : controls) {
        const SkinEntry entry = skin.Entry(control.key);
        const RECT rect{entry.left, entry.top, entry.right, entry.bottom};
        if (control.make) {
            control.make(entry, rect, pictures);
        }
    }
}

void PaintSkinBackground(HWND window, const SkinWindowImages& images) {
    PaintDC dc(window);
    MemoryDC source(CreateCompatibleDC(dc.Get()));
    SelectGuard keep(source.Get(), images.Background());
    if (keep.Ok()) {
        BitBlt(dc.Get(), 0, 0, images.size.cx, images.size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

}  // namespace t30
