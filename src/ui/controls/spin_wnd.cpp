#include "ui/controls/spin_wnd.h"

#include <string>

#include "ui/controls/text_label.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

const MessageMap* CSpinWnd::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_CREATE, &CSpinWnd::OnCreate),
                                    OnMessage(BmpEditChangedMessage(), &CSpinWnd::OnEditChanged),
                                    OnMessage(kMsgEditFocusLost, &CSpinWnd::OnEditLeft),
                                    OnMessage(WM_PAINT, &CSpinWnd::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CSpinWnd::OnEraseBackground),
                                }};
    return &map;
}

bool CSpinWnd::Create(const RECT& rect, HWND owner, UINT id) {
    owner_ = owner;
    id_ = id;
    rect_ = rect;
    const wchar_t* cls = PlainWindowClass(L"T30 Spin");
    return cls != nullptr && CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, rect, owner, id);
}

RECT CSpinWnd::UpRect() const {
    RECT client;
    GetClientRect(Hwnd(), &client);
    return RECT{0, 0, client.right, 21};
}

RECT CSpinWnd::DownRect() const {
    RECT client;
    GetClientRect(Hwnd(), &client);
    return RECT{0, 22, client.right, client.bottom};
}

LRESULT CSpinWnd::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    if (!up_.Create(UpRect(), Hwnd()) || !down_.Create(DownRect(), Hwnd())) {
        return -1;
    }
    // The edit only holds the value: no visible area, the arrows cover the whole spin.
    if (!edit_.Create(WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, RECT{1, 1, 1, 1},
                      Hwnd(), kEditId)) {
        return -1;
    }
    edit_.SetTextColour(RGB(255, 255, 255));
    edit_.SetBackgroundColour(RGB(0, 0, 0));
    edit_.ApplyFont();
    edit_.SetNumericFilter(true);
    return 0;
}

void CSpinWnd::SetStateImages(SkinPart part) {
    part_ = std::move(part);
    RemoveStyle(WS_BORDER | WS_TABSTOP);
    up_.SetStateImages(part_.Inner(UpRect()));
    down_.SetStateImages(part_.Inner(DownRect()));
    Invalidate();
}

void CSpinWnd::SetRange(int minimum, int maximum) {
    range_.minimum = minimum;
    range_.maximum = maximum;
    if (edit_.Hwnd()) {
        SendMessageW(edit_.Hwnd(), EM_LIMITTEXT, SpinTextLimit(minimum, maximum), 0);
    }
}

void CSpinWnd::SetValue(int value) {
    value_ = value;
    if (edit_.Text() != ToWide(DecimalText(value))) {
        WriteEdit(value);
    }
}

// Replaces the whole content the way typing would, so the change handling follows.
void CSpinWnd::WriteEdit(int value) {
    if (edit_.Hwnd() == nullptr) {
        return;
    }
    const std::wstring text = ToWide(DecimalText(value));
    SendMessageW(edit_.Hwnd(), EM_SETSEL, 0, -1);
    SendMessageW(edit_.Hwnd(), EM_SCROLLCARET, 0, 0);
    SendMessageW(edit_.Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void CSpinWnd::Notify() {
    PostMessageW(owner_, kMsgSpinValue, static_cast<WPARAM>(value_), id_);
}

bool CSpinWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) == BN_CLICKED && sender != nullptr &&
        (sender == up_.Hwnd() || sender == down_.Hwnd())) {
        const std::u16string text = ToU16(edit_.Text());
        const std::optional<int> next =
            sender == up_.Hwnd() ? SpinUp(range_, text) : SpinDown(range_, text);
        if (next) {
            WriteEdit(*next);
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CSpinWnd::OnEditChanged(WPARAM, LPARAM) {
    std::wstring text = edit_.Text();
    while (!text.empty() && iswspace(text.back())) {
        text.pop_back();
    }
    const SpinChange change = SpinTextChanged(range_, ToU16(text));
    value_ = change.value;
    if (change.rewrite) {
        WriteEdit(change.value);
    }
    Notify();
    return 0;
}

LRESULT CSpinWnd::OnEditLeft(WPARAM, LPARAM) {
    const SpinLeave leave = SpinFocusLost(range_, ToU16(edit_.Text()));
    if (leave.rewrite) {
        WriteEdit(leave.value);
    }
    value_ = leave.value;
    if (leave.notify) {
        Notify();
    }
    return 0;
}

LRESULT CSpinWnd::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    part_.Draw(dc.Get(), SkinState::kNormal);
    return 0;
}

}  // namespace t30
