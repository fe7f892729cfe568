#include "ui/controls/bmp_edit.h"

#include "ui/controls/control_rules.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

// "Microsoft YaHei" by its own name; the font mapper picks a near face where it is missing.
constexpr wchar_t kEditFace[] = L"\x5FAE\x8F6F\x96C5\x9ED1";

// Messages after which the edit's text may differ. The window layer reflects no WM_COMMAND
// notification, so the field compares its text itself rather than waiting for EN_CHANGE.
bool MayChangeText(UINT message) {
    switch (message) {
        case WM_CHAR:
        case WM_UNICHAR:
        case WM_KEYDOWN:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case WM_SETTEXT:
        case EM_REPLACESEL:
        case EM_SETHANDLE:
        case WM_IME_CHAR:
        case WM_IME_COMPOSITION:
        case WM_IME_ENDCOMPOSITION:
        case WM_CONTEXTMENU:  // the edit's own menu pastes and cuts without sending WM_PASTE
            return true;
        default:
            return false;
    }
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

}  // namespace

UINT BmpEditChangedMessage() {
    static const UINT message = RegisterWindowMessageW(L"BitmapEdit_KillFocus");
    return message;
}

const MessageMap* CBmpEdit::GetMessageMap() const {
    static const MessageMap map{
        CWnd::GetMessageMap(),
        {
            OnMessage(WM_CREATE, &CBmpEdit::OnCreate),
            OnMessage(kReflect + WM_CTLCOLOREDIT, &CBmpEdit::OnCtlColor),
            OnMessage(kReflect + WM_CTLCOLORSTATIC, &CBmpEdit::OnCtlColor),  // read-only
            OnMessage(WM_ERASEBKGND, &CBmpEdit::OnEraseBackground),
            OnMessage(WM_KILLFOCUS, &CBmpEdit::OnKillFocus),
            OnMessage(WM_VSCROLL, &CBmpEdit::OnVScroll),
            OnMessage(WM_GETDLGCODE, &CBmpEdit::OnGetDlgCode),
            OnMessage(WM_NCCALCSIZE, &CBmpEdit::OnNcCalcSize),
            OnMessage(WM_NCPAINT, &CBmpEdit::OnNcPaint),
            OnMessage(WM_NCHITTEST, &CBmpEdit::OnNcHitTest),
            OnMessage(WM_SETFONT, &CBmpEdit::OnSetFont),
        }};
    return &map;
}

bool CBmpEdit::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    BmpEditChangedMessage();
    return CreateEx(0, L"EDIT", L"", style | WS_CHILD, rect, parent, id);
}

std::wstring CBmpEdit::Text() const {
    return Hwnd() ? WindowText(Hwnd()) : std::wstring();
}

LRESULT CBmpEdit::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    CreateFontIfNeeded();
    lastText_ = WindowText(Hwnd());
    return 0;
}

void CBmpEdit::CreateFontIfNeeded() {
    if (!font_) {
        font_.Reset(CreateFontW(fontHeight_, fontWidth_, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kEditFace));
    }
}

void CBmpEdit::ApplyFont() {
    if (Hwnd() == nullptr) {
        return;
    }
    CreateFontIfNeeded();
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void CBmpEdit::SetTextColour(COLORREF colour) {
    text_ = colour;
    if (Hwnd()) {
        Invalidate(true);
    }
}

void CBmpEdit::SetBackgroundColour(COLORREF colour) {
    background_ = colour;
    if (Hwnd()) {
        SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Invalidate(true);
    }
}

int CBmpEdit::TextHeight() const {
    WindowDC dc(Hwnd());
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    SelectGuard keep(dc.Get(), current ? current : font_.Get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

// A single-line edit keeps its text at the top of its client area whatever formatting rectangle
// it is given, so the rows above and below the centred text line are made non-client and painted
// in the background colour.
LRESULT CBmpEdit::OnNcCalcSize(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    RECT* client = reinterpret_cast<RECT*>(lParam);
    topBand_ = bottomBand_ = 0;
    if ((GetWindowLongW(Hwnd(), GWL_STYLE) & ES_MULTILINE) == 0) {
        const int height = client->bottom - client->top;
        const int text = TextHeight();
        if (height > text + 1) {
            topBand_ = (height - text) / 2;
            bottomBand_ = height - text - topBand_;
            client->top += topBand_;
            client->bottom -= bottomBand_;
        }
    }
    return result;
}

LRESULT CBmpEdit::OnNcPaint(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (topBand_ == 0 && bottomBand_ == 0) {
        return result;
    }
    RECT window, client;
    GetWindowRect(Hwnd(), &window);
    GetClientRect(Hwnd(), &client);
    MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    HDC dc = GetWindowDC(Hwnd());
    if (dc != nullptr) {
        Brush fill(CreateSolidBrush(background_));
        const RECT top{client.left, client.top - topBand_, client.right, client.top};
        const RECT bottom{client.left, client.bottom, client.right, client.bottom + bottomBand_};
        FillRect(dc, &top, fill.Get());
        FillRect(dc, &bottom, fill.Get());
        ReleaseDC(Hwnd(), dc);
    }
    return result;
}

// A click above or below the text line still reaches the field.
LRESULT CBmpEdit::OnNcHitTest(WPARAM, LPARAM) {
    const LRESULT hit = Default();
    return hit == HTNOWHERE ? HTCLIENT : hit;
}

LRESULT CBmpEdit::OnSetFont(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return result;
}

LRESULT CBmpEdit::OnCtlColor(WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    backgroundBrush_.Reset(CreateSolidBrush(background_));
    SetTextColor(dc, text_);
    SetBkColor(dc, background_);
    return reinterpret_cast<LRESULT>(backgroundBrush_.Get());
}

LRESULT CBmpEdit::OnEraseBackground(WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client;
    GetClientRect(Hwnd(), &client);
    {
        Brush fill(CreateSolidBrush(background_));
        FillRect(dc, &client, fill.Get());
    }
    // The text sits 3 units in from the left and centred vertically for the field's own font
    // (the erase DC does not carry it).
    TEXTMETRICW tm{};
    {
        HFONT current = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
        SelectGuard keep(dc, current);
        GetTextMetricsW(dc, &tm);
    }
    const int dy = (client.bottom - client.top - (tm.tmHeight + tm.tmExternalLeading)) / 2;
    RECT format = client;
    OffsetRect(&format, 3, dy);
    SendMessageW(Hwnd(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
    return 1;
}

LRESULT CBmpEdit::OnKillFocus(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (HWND parent = GetParent(Hwnd())) {
        PostMessageW(parent, kMsgEditFocusLost, 0, 0);
    }
    return result;
}

LRESULT CBmpEdit::OnVScroll(WPARAM, LPARAM) {
    Invalidate(true);
    return Default();
}

// Enter and Escape stay with the field when a dialog asks (IsDialogMessage would turn them into
// OK and Cancel of the dialog).
LRESULT CBmpEdit::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    LRESULT code = Default();
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg != nullptr && msg->message == WM_KEYDOWN &&
        (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        code |= DLGC_WANTMESSAGE;
    }
    return code;
}

// Enter and Escape never close the window that holds the field.
bool CBmpEdit::PreTranslateMessage(MSG& msg) {
    return msg.hwnd == Hwnd() && msg.message == WM_KEYDOWN &&
           (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN);
}

LRESULT CBmpEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        return 0;  // a single-line edit would only beep
    }
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (MayChangeText(message) && !inChange_ && Hwnd() != nullptr) {
        TextMayHaveChanged();
    }
    return result;
}

void CBmpEdit::TextMayHaveChanged() {
    std::wstring text = WindowText(Hwnd());
    if (text == lastText_) {
        return;
    }
    inChange_ = true;
    if (numeric_) {
        std::u16string u = ToU16(text);
        if (FilterNumericText(u)) {
            // Keep the caret where it was among the characters that stay.
            DWORD caret = 0;
            SendMessageW(Hwnd(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
            DWORD removedBefore = 0;
            for (DWORD i = 0; i < caret && i < text.size(); ++i) {
                const wchar_t c = text[i];
                removedBefore += !((c >= L'0' && c <= L'9') || c == L'.' || c == L',');
            }
            text = ToWide(u);
            SetWindowTextW(Hwnd(), text.c_str());
            SendMessageW(Hwnd(), EM_SETSEL, caret - removedBefore, caret - removedBefore);
        }
    }
    lastText_ = text;
    inChange_ = false;
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (HWND parent = GetParent(Hwnd())) {
        PostMessageW(parent, BmpEditChangedMessage(), 0, 0);
    }
}

}  // namespace t30
