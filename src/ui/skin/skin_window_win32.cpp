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

    // The mask is needed only for the window's shape: shaped and freed before the state pictures
    // are decoded, so the largest pictures are never held all at once.
    Bitmap mask;
    load(names.mask, mask);
    images.size = load(names.normal, images.background);

    SetWindowPos(window, nullptr, 0, 0, images.size.cx, images.size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Region shape = MaskToRegion(mask.Get());
    mask.Reset();
    if (shape) {
        SetWindowRgn(window, shape.Release(), TRUE);  // the system owns it from here on
    }

    // The other state pictures only give controls their parts; a window without controls has no
    // use for them, and each costs a full decode.
    if (controls.empty()) {
        return;
    }
    Bitmap over, down, disable;
    load(names.over, over);
    load(names.down, down);
    load(names.disable, disable);
    const SkinPictures pictures{images.background.Get(), over.Get(), down.Get(), disable.Get()};
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
    SelectGuard keep(source.Get(), images.background.Get());
    if (keep.Ok()) {
        BitBlt(dc.Get(), 0, 0, images.size.cx, images.size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

}  // namespace t30
