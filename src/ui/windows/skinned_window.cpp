#include "ui/windows/skinned_window.h"

#include <windowsx.h>

#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/framework/gdi.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

const MessageMap* CSkinnedWindow::GetMessageMap() const {
    static const MessageMap map{CDialog::GetMessageMap(),
                                {
                                    OnMessage(WM_PAINT, &CSkinnedWindow::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CSkinnedWindow::OnEraseBackground),
                                    OnMessage(WM_LBUTTONDOWN, &CSkinnedWindow::OnLButtonDown),
                                    OnMessage(WM_DESTROY, &CSkinnedWindow::OnDestroy),
                                }};
    return &map;
}

void CSkinnedWindow::BuildSkin(const std::wstring& file, std::u16string_view section,
                               const std::vector<SkinControl>& controls) {
    BuildSkinWindow(Hwnd(), file, section, controls, skin_);
}

void CSkinnedWindow::ReleasePictures() {
    if (skin_.pictures) {
        skin_.pictures->Release();
    }
}

SkinControl CSkinnedWindow::SkinButton(int key, CBitmapButtonBase& button,
                                       std::function<void(const SkinEntry&)> finish) {
    return {key, [this, &button, finish = std::move(finish)](const SkinEntry& entry, const RECT& r,
                                                             const SkinPictures& p) {
                button.Create(r, Hwnd());
                button.SetStateImages(p.Part(r));
                if (finish) {
                    finish(entry);
                }
            }};
}

SkinControl CSkinnedWindow::SkinRegionButton(int key, CRgnButton& button, const wchar_t* mask,
                                             UINT caption, int fontHeight) {
    return {key, [this, &button, mask, caption, fontHeight](const SkinEntry&, const RECT& r,
                                                            const SkinPictures& p) {
                button.SetMaskFile(App().skinFolder + mask);
                if (fontHeight != 0) {
                    button.SetFontHeight(fontHeight);
                }
                button.Create(L"", r, Hwnd(), 0);
                button.SetStateImages(p.Part(r));
                button.SetCaption(LangString(caption, kLangLongTextCapacity));
            }};
}

SkinControl CSkinnedWindow::SkinOkButton(CRgnButton& button) {
    return SkinRegionButton(1, button, L"ok_mask.bmp", IDS_OK);
}

SkinControl CSkinnedWindow::SkinCancelButton(CRgnButton& button) {
    return SkinRegionButton(2, button, L"cancel_mask.bmp", IDS_CANCEL);
}

void CSkinnedWindow::CentreOver(HWND over) {
    RECT self, area;
    GetWindowRect(Hwnd(), &self);
    if (over != nullptr && IsWindowVisible(over) && !IsIconic(over)) {
        GetWindowRect(over, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    SetWindowPos(Hwnd(), nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CSkinnedWindow::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    // Drawn off screen first, so nothing flickers while the texts go over the background.
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (!buffer.Ok()) {
        return 0;
    }
    DrawBitmapAt(buffer.Dc(), skin_.Background(), 0, 0, client.right, client.bottom);
    for (std::size_t n = 0; n < textCount_; ++n) {
        DrawPaintedText(buffer.Dc(), texts_[n], textColour_);
    }
    PaintOver(buffer.Dc(), client);
    buffer.Present();
    return 0;
}

LRESULT CSkinnedWindow::OnLButtonDown(WPARAM, LPARAM lParam) {
    if (drag_ == DragMoves::kSelf) {
        PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        return Default();
    }
    // The caption hit of the window the page sits in works in screen coordinates.
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(Hwnd(), &point);
    if (HWND parent = GetParent(Hwnd())) {
        PostMessageW(parent, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    }
    return Default();
}

LRESULT CSkinnedWindow::OnDestroy(WPARAM, LPARAM) {
    const LRESULT result = Default();
    skin_.Reset();
    return result;
}

const MessageMap* CSkinnedPage::GetMessageMap() const {
    static const MessageMap map{CSkinnedWindow::GetMessageMap(),
                                {
                                    OnMessage(WM_SHOWWINDOW, &CSkinnedPage::OnShowWindow),
                                }};
    return &map;
}

bool CSkinnedPage::Create(HWND parent, const RECT& rect) {
    SetTemplateStyle(WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    if (!CreateModeless(parent)) {
        return false;
    }
    MoveWindow(Hwnd(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    return true;
}

LRESULT CSkinnedPage::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam == FALSE) {
        OnHidePage();
        // Only one page is seen at a time: the other one holds no picture.
        ReleasePictures();
    }
    return Default();
}

}  // namespace t30
