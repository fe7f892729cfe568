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
    auto load = [&](const std::u16string& name, Bitmap& into) {
        if (name.empty()) {  // no key: no picture, not the skin folder itself
            into.Reset();
            return SIZE{0, 0};
        }
        return LoadSkinPicture(folder + ToWide(name), into);
    };

    Bitmap normal, over, down, disable;
    load(names.mask, images.mask);
    load(names.normal, normal);
    load(names.over, over);
    load(names.down, down);
    load(names.disable, disable);
    images.size = load(names.normal, images.background);

    SetWindowPos(window, nullptr, 0, 0, images.size.cx, images.size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    const SkinPictures pictures{normal.Get(), over.Get(), down.Get(), disable.Get()};
    for (const SkinControl& control : controls) {
        const SkinEntry entry = skin.Entry(control.key);
        const RECT rect{entry.left, entry.top, entry.right, entry.bottom};
        if (control.make) {
            control.make(entry, rect, pictures);
        }
    }
    // The temporary pictures go with this scope; the window's shape comes from its mask.
    Region shape = MaskToRegion(images.mask.Get());
    if (shape) {
        SetWindowRgn(window, shape.Release(), TRUE);  // the system owns it from here on
    }
}

void PaintSkinBackground(HWND window, const SkinWindowImages& images) {
    PaintDC dc(window);
    MemoryDC source(CreateCompatibleDC(dc.Get()));
    SelectGuard keep(source.Get(), images.background.Get());
    if (keep.Ok()) {
        BitBlt(dc.Get(), 0, 0, images.size.cx, images.size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

}  // namespace t30
