#include "ui/controls/rgn_wnd.h"

#include <windowsx.h>

#include "ui/skin/skin_win32.h"

namespace t30 {

// ---- CRgnWnd

const MessageMap* CRgnWnd::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_CREATE, &CRgnWnd::OnCreate),
                                    OnMessage(WM_ERASEBKGND, &CRgnWnd::OnEraseBackground),
                                }};
    return &map;
}

bool CRgnWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(cs.hInstance, kClassName, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = cs.hInstance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) {
            return false;
        }
    }
    cs.lpszClass = kClassName;
    return true;
}

bool CRgnWnd::Create(const wchar_t* caption, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, kClassName, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id);
}

LRESULT CRgnWnd::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    // Only the shape is kept; the mask picture goes once it is made.
    Bitmap mask;
    LoadSkinPicture(maskFile_, mask);
    Region shape = MaskToRegion(mask.Get());
    if (!shape) {
        return 0;  // stays rectangular, and no click ever counts
    }
    hitRegion_.Reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(hitRegion_.Get(), shape.Get(), nullptr, RGN_COPY);
    SetWindowRgn(Hwnd(), shape.Release(), TRUE);  // the system owns it from here on
    return 0;
}

bool CRgnWnd::InShape(int x, int y) const {
    return hitRegion_ && PtInRegion(hitRegion_.Get(), x, y);
}

// ---- CRgnButton

const MessageMap* CRgnButton::GetMessageMap() const {
    static const MessageMap map{CRgnWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_LBUTTONDOWN, &CRgnButton::OnButtonDown),
                                    OnMessage(WM_LBUTTONDBLCLK, &CRgnButton::OnButtonDown),
                                    OnMessage(WM_LBUTTONUP, &CRgnButton::OnButtonUp),
                                    OnMessage(WM_MOUSEMOVE, &CRgnButton::OnMouseMove),
                                    OnMessage(WM_CAPTURECHANGED, &CRgnButton::OnCaptureChanged),
                                    OnMessage(WM_PAINT, &CRgnButton::OnPaint),
                                }};
    return &map;
}

void CRgnButton::SetCaption(std::wstring text) {
    caption_ = std::move(text);
    if (Hwnd()) {
        Invalidate(true);
    }
}

void CRgnButton::SetChecked(bool checked) {
    checked_ = checked;
    if (Hwnd()) {
        Invalidate(true);
    }
}

void CRgnButton::Notify(WPARAM hovering) {
    if (HWND parent = GetParent(Hwnd())) {
        PostMessageW(parent, kMsgButtonHover, hovering, notifyId_);
    }
}

LRESULT CRgnButton::OnButtonDown(WPARAM, LPARAM lParam) {
    SetCapture(Hwnd());
    pressedInside_ = InShape(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (pressedInside_) {
        state_ = kPressed;
    }
    Invalidate();
    return Default();
}

LRESULT CRgnButton::OnButtonUp(WPARAM, LPARAM lParam) {
    const bool wasPressed = pressedInside_;
    pressedInside_ = false;
    state_ = kNormal;
    Notify(0);
    ReleaseCapture();
    Invalidate();
    const LRESULT result = Default();
    // Only a press that began inside the shape and ends inside it is a click.
    HWND parent = GetParent(Hwnd());
    if (wasPressed && parent != nullptr && InShape(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        const int id = GetDlgCtrlID(Hwnd());
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Hwnd()));
    }
    return result;
}

LRESULT CRgnButton::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default();
    if (wParam & MK_LBUTTON) {
        return result;
    }
    if (GetCapture() != Hwnd()) {
        if (GetActiveWindow() != nullptr && GetParent(Hwnd()) != nullptr) {
            state_ = kHover;
            Notify(1);
            SetCapture(Hwnd());
            Invalidate();
        }
        return result;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(Hwnd(), &pt);
    HWND under = WindowFromPoint(pt);
    if (under != nullptr && under != Hwnd()) {
        EndHover();
        ReleaseCapture();
    }
    return result;
}

void CRgnButton::EndHover() {
    if (state_ == kHover || state_ == kPressed) {
        state_ = kNormal;
        Notify(0);
        Invalidate();
    }
}

// Someone else took the mouse (a menu, another window): hovering is over, or the state would stick.
LRESULT CRgnButton::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != Hwnd()) {
        pressedInside_ = false;
        EndHover();
    }
    return Default();
}

LRESULT CRgnButton::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    if (!IsWindowEnabled(Hwnd())) {
        state_ = kDisabled;
    } else if (state_ == kDisabled) {
        state_ = kNormal;
    }
    SkinState image = SkinState::kNormal;
    COLORREF text = normalText_;
    if (checked_ || state_ == kPressed) {
        image = SkinState::kDown;
        text = downText_;
    } else if (state_ == kHover) {
        image = SkinState::kOver;
        text = overText_;
    } else if (state_ == kDisabled) {
        image = SkinState::kDisable;
        text = disabledText_;
    }
    if (caption_.empty()) {
        part_.Draw(dc.Get(), image);
        return 0;
    }
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBuffer buffer(dc.Get(), client.right, client.bottom);
    part_.Draw(buffer.Dc(), image);
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), text);
    Font font(MakeArialFont(fontHeight_));
    {
        SelectGuard fontSel(buffer.Dc(), font.Get());
        DrawTextW(buffer.Dc(), caption_.c_str(), static_cast<int>(caption_.size()), &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    const SIZE size = part_.Has(image) ? part_.Size() : SIZE{0, 0};
    buffer.Present(size.cx, size.cy);
    return 0;
}

}  // namespace t30
