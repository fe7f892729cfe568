#include "ui/windows/skinned_dialog.h"

#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/framework/gdi.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

SkinControl RegionButton(int key, CRgnButton& button, HWND dialog, const wchar_t* mask,
                         UINT caption) {
    return {key, [&button, dialog, mask, caption](const SkinEntry&, const RECT& r,
                                                  const SkinPictures& p) {
                button.SetMaskFile(App().skinFolder + mask);
                button.Create(L"", r, dialog, 0);
                button.SetStateImages(p.Part(r));
                button.SetCaption(LangString(caption));
            }};
}

}  // namespace

SkinControl SkinOkButton(CRgnButton& button, HWND dialog) {
    return RegionButton(1, button, dialog, L"ok_mask.bmp", IDS_OK);
}

SkinControl SkinCancelButton(CRgnButton& button, HWND dialog) {
    return RegionButton(2, button, dialog, L"cancel_mask.bmp", IDS_CANCEL);
}

void CentreDialog(HWND dialog, HWND over) {
    RECT self, area;
    GetWindowRect(dialog, &self);
    if (over != nullptr && IsWindowVisible(over) && !IsIconic(over)) {
        GetWindowRect(over, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintSkinWithTexts(HWND dialog, const SkinWindowImages& skin, const PaintedText* texts,
                        std::size_t count, COLORREF colour) {
    PaintDC paint(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (!buffer.Ok()) {
        return;
    }
    DrawBitmapAt(buffer.Dc(), skin.Background(), 0, 0, client.right, client.bottom);
    for (std::size_t n = 0; n < count; ++n) {
        DrawPaintedText(buffer.Dc(), texts[n], colour);
    }
    buffer.Present();
}

}  // namespace t30
