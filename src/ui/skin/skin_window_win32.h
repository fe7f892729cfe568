// The build procedure every skinned window runs while it is created:
//
//   BOOL CWarnDlg::OnInitDialog() {
//       std::vector<t30::SkinControl> controls = {
//           {1, [&](const t30::SkinEntry&, const RECT& r, const t30::SkinPictures& p) {
//                ok_.SetMaskFile(t30::App().skinFolder + L"ok_mask.bmp");
//                ok_.Create(L"", r, Hwnd(), 0);
//                ok_.SetStateImages(p.Part(r));
//                ok_.SetCaption(t30::LangString(107));
//            }},
//       };
//       t30::BuildSkinWindow(Hwnd(), L"skin_warn.ini", u"SCREEN", controls, skin_);
//       return TRUE;
//   }
//   // WM_PAINT: t30::PaintSkinBackground(Hwnd(), skin_);  WM_ERASEBKGND: return 1;
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/gdi.h"
#include "ui/skin/skin_entry.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

// The window's state pictures during the build; each control keeps its part of them.
struct SkinPictures {
    std::shared_ptr<StatePictures> set;
    SkinPart Part(const RECT& rect) const { return SkinPart(set, rect); }
};

// One control of a window: its "BUTTONPOS" key and how to make it at the entry's rectangle.
struct SkinControl {
    int key;
    std::function<void(const SkinEntry& entry, const RECT& rect, const SkinPictures& pictures)>
        make;
};

// What a skinned window keeps: its state pictures, shared with its controls (the "Normal" one is
// its background), and its size. The mask shapes the window during the build and is not kept.
struct SkinWindowImages {
    std::shared_ptr<StatePictures> pictures;
    SIZE size{0, 0};

    // The background, decoded again if it was let go; nullptr when there is none.
    HBITMAP Background() const { return pictures ? pictures->Get(SkinState::kNormal) : nullptr; }
    // Lets go of the pictures now, even while controls still share the set.
    void Reset() {
        if (pictures) {
            pictures->Release();
        }
        pictures.reset();
        size = SIZE{0, 0};
    }
};

// Reads `file` (a name in the skin folder), decodes the pictures of `section`, moves the window to
// (0, 0) of its parent with the background's size, makes every control, and shapes the window by
// its mask (white outside). A window without a usable mask keeps its rectangle.
void BuildSkinWindow(HWND window, const std::wstring& file, std::u16string_view section,
                     const std::vector<SkinControl>& controls, SkinWindowImages& images);

// Paints the background bitmap at (0, 0); for WM_PAINT of a skinned window.
void PaintSkinBackground(HWND window, const SkinWindowImages& images);

}  // namespace t30
