#include "ui/controls/text_label.h"

#include "ui/skin/skin_win32.h"

namespace t30 {

const wchar_t* PlainWindowClass(const wchar_t* name) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, name, &wc)) {
        return name;
    }
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) ? name : nullptr;
}

// ---- CTextLabel

const MessageMap* CTextLabel::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_CREATE, &CTextLabel::OnCreate),
                                    OnMessage(WM_PAINT, &CTextLabel::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CTextLabel::OnEraseBackground),
                                }};
    return &map;
}

bool CTextLabel::Create(const RECT& rect, HWND parent) {
    const wchar_t* cls = PlainWindowClass(L"T30 Text Label");
    return cls != nullptr && CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rect, parent, 0);
}

LRESULT CTextLabel::OnCreate(WPARAM, LPARAM) {
    const LRESULT result = Default();
    GetClientRect(Hwnd(), &client_);
    return result;
}

void CTextLabel::SetLabelText(std::wstring text) {
    text_ = std::move(text);
    if (Hwnd()) {
        Invalidate(true);
    }
}

LRESULT CTextLabel::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    GetClientRect(Hwnd(), &client_);  // follows a label that was moved or resized
    OffscreenBuffer buffer(dc.Get(), client_.right, client_.bottom);
    Brush background(CreateSolidBrush(background_));
    FillRect(buffer.Dc(), &client_, background.Get());
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), RGB(200, 200, 200));
    Font font(MakeArialFont(14, FW_NORMAL));
    SelectGuard fontSel(buffer.Dc(), font.Get());
    RECT box = client_;
    DrawTextW(buffer.Dc(), text_.c_str(), static_cast<int>(text_.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    fontSel.Restore();
    buffer.Present();
    return 0;
}

}  // namespace t30
