#include "ui/controls/picture_wnd.h"

#include "ui/controls/text_label.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

const MessageMap* CLineWnd::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_PAINT, &CLineWnd::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CLineWnd::OnEraseBackground),
                                    OnMessage(WM_SHOWWINDOW, &CLineWnd::OnShowWindow),
                                }};
    return &map;
}

bool CLineWnd::Create(const RECT& rect, HWND parent, UINT id) {
    const wchar_t* cls = PlainWindowClass(L"T30 Line Window");
    return cls != nullptr && CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CLineWnd::SetPicture(const std::wstring& path) {
    picture_ = StatePictures::FromFile(path);
    if (Hwnd()) {
        Invalidate();
    }
}

HBITMAP CLineWnd::Picture() {
    return picture_ ? picture_->Get(SkinState::kNormal) : nullptr;
}

LRESULT CLineWnd::OnShowWindow(WPARAM wParam, LPARAM) {
    // A highlight is seen only while its button is pointed at: no picture kept in between.
    if (wParam == FALSE && picture_) {
        picture_->Release();
    }
    return Default();
}

LRESULT CLineWnd::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    HBITMAP picture = Picture();
    const SIZE size = BitmapSize(picture);
    MemoryDC source(CreateCompatibleDC(dc.Get()));
    SelectGuard keep(source.Get(), picture);
    if (keep.Ok()) {
        BitBlt(dc.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
    return 0;
}

}  // namespace t30
