#include "ui/windows/pages.h"

namespace t30 {

const MessageMap* CSkinnedPage::GetMessageMap() const {
    static const MessageMap map{CDialog::GetMessageMap(),
                                {
                                    OnMessage(WM_PAINT, &CSkinnedPage::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CSkinnedPage::OnEraseBackground),
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

BOOL CSkinnedPage::OnInitDialog() {
    BuildSkinWindow(Hwnd(), skinFile_, section_, {}, skin_);
    return TRUE;
}

void CSkinnedPage::ReleasePictures() {
    if (skin_.pictures) {
        skin_.pictures->Release();
    }
}

LRESULT CSkinnedPage::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam == FALSE) {
        OnHidePage();
        // Only one page is seen at a time: the other one holds no picture.
        ReleasePictures();
    }
    return Default();
}

LRESULT CSkinnedPage::OnPaint(WPARAM, LPARAM) {
    PaintSkinBackground(Hwnd(), skin_);
    return 0;
}

}  // namespace t30
