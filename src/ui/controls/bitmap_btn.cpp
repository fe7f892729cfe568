#include "ui/controls/bitmap_btn.h"

#include <commctrl.h>

#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr COLORREF kHoverText = RGB(255, 0, 0);
constexpr COLORREF kDisabledText = RGB(110, 110, 110);
constexpr COLORREF kDownText = RGB(255, 0, 0);
constexpr COLORREF kNormalText = RGB(255, 255, 255);

bool LeftButtonHeld() {
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace

CBitmapButtonBase::~CBitmapButtonBase() {
    if (tooltip_ != nullptr) {
        ::DestroyWindow(tooltip_);
    }
}

const MessageMap* CBitmapButtonBase::GetMessageMap() const {
    static const MessageMap map{
        CWnd::GetMessageMap(),
        {
            OnMessage(WM_MOUSEMOVE, &CBitmapButtonBase::OnMouseMove),
            OnMessage(WM_CAPTURECHANGED, &CBitmapButtonBase::OnCaptureChanged),
            OnMessage(WM_KILLFOCUS, &CBitmapButtonBase::OnKillFocus),
            OnMessage(WM_LBUTTONDOWN, &CBitmapButtonBase::OnButtonDown),
            OnMessage(WM_LBUTTONDBLCLK, &CBitmapButtonBase::OnDoubleClick),
            OnMessage(WM_LBUTTONUP, &CBitmapButtonBase::OnButtonUp),
            OnMessage(WM_ERASEBKGND, &CBitmapButtonBase::OnEraseBackground),
            OnMessage(kReflect + WM_DRAWITEM, &CBitmapButtonBase::OnDrawItem),
        }};
    return &map;
}

bool CBitmapButtonBase::PreCreateWindow(CREATESTRUCTW& cs) {
    // Owner-drawn, and never a tab stop: the skinned windows have no keyboard navigation.
    cs.style = (cs.style & ~(0xFFFFu | WS_TABSTOP)) | BS_OWNERDRAW;
    return true;
}

bool CBitmapButtonBase::Create(const RECT& rect, HWND parent) {
    return CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, rect, parent, 0);
}

void CBitmapButtonBase::SetStateImages(SkinPart part) {
    part_ = std::move(part);
    RemoveStyle(WS_BORDER | WS_TABSTOP);
}

void CBitmapButtonBase::SetTooltip(const std::wstring& text, bool activate) {
    if (tooltip_ == nullptr) {
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, nullptr, nullptr);
        if (tooltip_ == nullptr) {
            return;
        }
        SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
    }
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = Hwnd();
    info.uId = 1;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!hasTool_) {
        GetClientRect(Hwnd(), &info.rect);
        hasTool_ = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    }
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tooltip_, TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

void CBitmapButtonBase::SetCheck(bool on) {
    if (checked_ != on) {
        checked_ = on;
        Invalidate();
    }
}

void CBitmapButtonBase::SetHover(bool on) {
    hovering_ = on;
    NotifyHover(on);
    Invalidate();
}

void CBitmapButtonBase::NotifyHover(bool on) {
    if (HWND parent = GetParent(Hwnd())) {
        PostMessageW(parent, kMsgButtonHover, on ? 1 : 0, notifyId_);
    }
}

LRESULT CBitmapButtonBase::OnMouseMove(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    // Dragging in from another button does not move the highlight.
    if (LeftButtonHeld() && !hovering_) {
        return result;
    }
    if (GetCapture() != Hwnd() && GetActiveWindow() != nullptr) {
        hovering_ = true;
        NotifyHover(true);
        SetCapture(Hwnd());
        Invalidate();
        return result;
    }
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(Hwnd(), &pt);
    HWND under = WindowFromPoint(pt);
    if (under == nullptr || under == Hwnd()) {
        return result;
    }
    if (hovering_) {
        hovering_ = false;
        NotifyHover(false);
        Invalidate();
    }
    if (!LeftButtonHeld()) {
        ReleaseCapture();
    }
    return result;
}

LRESULT CBitmapButtonBase::OnCaptureChanged(WPARAM, LPARAM) {
    if (hovering_) {
        hovering_ = false;
        NotifyHover(false);
        Invalidate();
    }
    return Default();
}

LRESULT CBitmapButtonBase::OnKillFocus(WPARAM, LPARAM) {
    const LRESULT result = Default();
    hovering_ = false;
    NotifyHover(false);
    Invalidate();
    return result;
}

void CBitmapButtonBase::ActivateOwner() {
    HWND owner = GetWindow(Hwnd(), GW_OWNER);
    if (owner == nullptr) {
        owner = GetAncestor(Hwnd(), GA_ROOT);
    }
    if (owner != nullptr && GetActiveWindow() != owner) {
        SetActiveWindow(owner);
    }
}

LRESULT CBitmapButtonBase::OnButtonDown(WPARAM, LPARAM) {
    ActivateOwner();
    return Default();
}

// The button class answers a quick second click on an owner-drawn button with a double-click
// notification and no press, so a check button would notify twice for it and a push button
// would never look pressed. Here a second click is a click like the first.
LRESULT CBitmapButtonBase::OnDoubleClick(WPARAM wParam, LPARAM lParam) {
    ActivateOwner();
    return CallOriginal(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CBitmapButtonBase::OnButtonUp(WPARAM, LPARAM) {
    if (!checkMode_) {
        return Default();
    }
    checked_ = !checked_;
    // The press the button class started ends here, so it does not stay down.
    SendMessageW(Hwnd(), BM_SETSTATE, FALSE, 0);
    if (GetCapture() == Hwnd()) {
        ReleaseCapture();
    }
    Invalidate();
    if (HWND parent = GetParent(Hwnd())) {
        const int id = GetDlgCtrlID(Hwnd());
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Hwnd()));
    }
    return 0;
}

LRESULT CBitmapButtonBase::OnDrawItem(WPARAM, LPARAM lParam) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

SkinState CBitmapBtn::ChooseImage(bool pressed, bool disabled) const {
    if (checkMode_) {
        if (disabled) {
            return SkinState::kDisable;
        }
        if (checked_) {
            return SkinState::kDown;
        }
        return hovering_ ? SkinState::kOver : SkinState::kNormal;
    }
    if (checked_) {
        return disabled ? SkinState::kDisable : SkinState::kDown;
    }
    if (pressed) {
        return SkinState::kDown;
    }
    if (hovering_) {
        return SkinState::kOver;
    }
    return disabled ? SkinState::kDisable : SkinState::kNormal;
}

void CBitmapBtn::Draw(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBuffer buffer(item.hDC, client.right, client.bottom);
    if (!buffer.Ok()) {
        return;
    }
    part_.Draw(buffer.Dc(), ChooseImage(pressed, disabled));
    if (!caption_.empty()) {
        SetBkMode(buffer.Dc(), TRANSPARENT);
        SetTextColor(buffer.Dc(), hovering_               ? kHoverText
                                  : disabled              ? kDisabledText
                                  : (pressed || checked_) ? kDownText
                                                          : kNormalText);
        Font font(MakeArialFont(fontHeight_, FW_NORMAL));
        SelectGuard keepFont(buffer.Dc(), font.Get());
        RECT r = client;
        const UINT single = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        switch (layout_) {
            case kLeft:
            case kLeftLower:
                r.left += 10;
                if (layout_ == kLeftLower) {
                    OffsetRect(&r, 0, 1);
                }
                DrawTextW(buffer.Dc(), caption_.c_str(), -1, &r, single | DT_LEFT);
                break;
            case kWrapped22:
            case kWrapped35: {
                r.left += layout_ == kWrapped22 ? 22 : 35;
                RECT measure = r;
                const int height = DrawTextW(buffer.Dc(), caption_.c_str(), -1, &measure,
                                             DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
                if (height < client.bottom) {
                    r.top += (client.bottom - height) / 2;
                }
                DrawTextW(buffer.Dc(), caption_.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
                break;
            }
            default:
                DrawTextW(buffer.Dc(), caption_.c_str(), -1, &r, single | DT_CENTER);
                break;
        }
    }
    buffer.Present();
}

void CBitmapCBtn::Draw(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    SkinState image;
    if (checkMode_) {
        image = disabled    ? SkinState::kDisable
                : checked_  ? SkinState::kDown
                : hovering_ ? SkinState::kOver
                            : SkinState::kNormal;
    } else {
        image = ((checked_ && !disabled) || pressed) ? SkinState::kDown
                : hovering_                          ? SkinState::kOver
                : disabled                           ? SkinState::kDisable
                                                     : SkinState::kNormal;
    }
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBuffer buffer(item.hDC, client.right, client.bottom);
    if (!buffer.Ok()) {
        return;
    }
    part_.Draw(buffer.Dc(), image);
    if (!disabled) {
        RECT swatch = client;
        InflateRect(&swatch, -2, -2);
        Brush brush(CreateSolidBrush(swatch_));
        FillRect(buffer.Dc(), &swatch, brush.Get());
    }
    buffer.Present();
}

}  // namespace t30
