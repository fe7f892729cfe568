#include "ui/controls/list_box_ex.h"

#include <windowsx.h>

#include <utility>

#include "ui/controls/control_rules.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

// A key message the arrow-keys-only mode lets through.
bool IsUpOrDown(UINT message, WPARAM key) {
    return (message == WM_KEYDOWN || message == WM_KEYUP) && (key == VK_UP || key == VK_DOWN);
}

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

}  // namespace

// ---- In-place edit

const MessageMap* CListBoxEx::InPlaceEdit::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_KEYUP, &InPlaceEdit::OnKeyUp),
                                    OnMessage(WM_CHAR, &InPlaceEdit::OnChar),
                                    OnMessage(WM_GETDLGCODE, &InPlaceEdit::OnGetDlgCode),
                                    OnMessage(WM_KILLFOCUS, &InPlaceEdit::OnKillFocus),
                                }};
    return &map;
}

void CListBoxEx::InPlaceEdit::IgnoreHeldKeys() {
    ignoreEnterUp_ = (GetKeyState(VK_RETURN) & 0x8000) != 0;
    ignoreEscapeUp_ = (GetKeyState(VK_ESCAPE) & 0x8000) != 0;
}

LRESULT CListBoxEx::InPlaceEdit::OnKeyUp(WPARAM wParam, LPARAM) {
    if (wParam == VK_RETURN && std::exchange(ignoreEnterUp_, false)) {
        return 0;
    }
    if (wParam == VK_ESCAPE && std::exchange(ignoreEscapeUp_, false)) {
        return 0;
    }
    if (wParam == VK_RETURN) {
        list_.Commit(true);
        return 0;  // the edit is gone
    }
    if (wParam == VK_ESCAPE) {
        list_.Cancel();
        return 0;
    }
    return Default();
}

LRESULT CListBoxEx::InPlaceEdit::OnChar(WPARAM wParam, LPARAM) {
    if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        return 0;  // handled on release; a single-line edit would only beep
    }
    return Default();
}

// Enter and Escape belong to the edit, not to the dialog around the list.
LRESULT CListBoxEx::InPlaceEdit::OnGetDlgCode(WPARAM, LPARAM) {
    return Default() | DLGC_WANTALLKEYS;
}

// The focus went elsewhere than back to the list (another control, another window): the edit
// counts as done, as a rename in any list of the system does.
LRESULT CListBoxEx::InPlaceEdit::OnKillFocus(WPARAM wParam, LPARAM) {
    const LRESULT result = Default();
    HWND next = reinterpret_cast<HWND>(wParam);
    if (next != list_.Hwnd()) {
        list_.Commit(false);
        list_.FocusLeft(next);
    }
    return result;
}

// ---- The list

const MessageMap* CListBoxEx::GetMessageMap() const {
    static const MessageMap map{
        CWnd::GetMessageMap(),
        {
            OnMessage(kReflect + WM_DRAWITEM, &CListBoxEx::OnDrawItem),
            OnMessage(kReflect + WM_MEASUREITEM, &CListBoxEx::OnMeasureItem),
            OnMessage(kReflect + WM_CTLCOLORLISTBOX, &CListBoxEx::OnCtlColor),
            OnMessage(WM_LBUTTONDBLCLK, &CListBoxEx::OnDoubleClick),
            OnMessage(WM_MOUSEWHEEL, &CListBoxEx::OnMouseWheel),
            OnMessage(WM_RBUTTONDOWN, &CListBoxEx::OnRightButtonDown),
            OnMessage(WM_SETFOCUS, &CListBoxEx::OnSetFocus),
            OnMessage(WM_KILLFOCUS, &CListBoxEx::OnKillFocus),
            OnMessage(WM_KEYDOWN, &CListBoxEx::OnKey),
            OnMessage(WM_KEYUP, &CListBoxEx::OnKey),
            OnMessage(WM_CHAR, &CListBoxEx::OnChar),
        }};
    return &map;
}

bool CListBoxEx::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    owner_ = parent;
    if (!font_) {
        font_.Reset(MakeArialFont(15, FW_NORMAL));
    }
    const DWORD listStyle = (style & ~(LBS_OWNERDRAWVARIABLE | LBS_SORT)) | WS_CHILD |
                            LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (!CreateEx(0, L"LISTBOX", L"", listStyle, rect, parent, id)) {
        return false;
    }
    SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, kRowHeight);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return true;
}

int CListBoxEx::AddRow(DWORD value, const std::wstring& text) {
    const LRESULT index =
        SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) {
        SendMessageW(Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), value);
    }
    return static_cast<int>(index);
}

int CListBoxEx::InsertRow(int index, DWORD value, const std::wstring& text) {
    const LRESULT at = SendMessageW(Hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0) {
        SendMessageW(Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(at), value);
    }
    return static_cast<int>(at);
}

void CListBoxEx::DeleteRow(int index) {
    SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int CListBoxEx::RowCount() const {
    return static_cast<int>(SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
}

void CListBoxEx::SelectRow(int index) {
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CListBoxEx::SelectedRow() const {
    return static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}

std::wstring CListBoxEx::RowText(int index) const {
    const LRESULT length = SendMessageW(Hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(Hwnd(), LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return text;
}

DWORD CListBoxEx::RowValue(int index) const {
    const LRESULT value = SendMessageW(Hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return value == LB_ERR ? 0 : static_cast<DWORD>(value);
}

void CListBoxEx::SetColours(COLORREF background, COLORREF selection) {
    background_.Reset(CreateSolidBrush(background));
    selection_ = selection;
    if (Hwnd()) {
        Invalidate(true);
    }
}

void CListBoxEx::SetTextColours(COLORREF text, COLORREF selectedText) {
    text_ = text;
    selectedText_ = selectedText;
    if (Hwnd()) {
        Invalidate(true);
    }
}

LRESULT CListBoxEx::OnMeasureItem(WPARAM, LPARAM lParam) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
    return TRUE;
}

LRESULT CListBoxEx::OnCtlColor(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(background_ ? background_.Get()
                                                 : GetSysColorBrush(COLOR_WINDOW));
}

LRESULT CListBoxEx::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (dis.itemID == static_cast<UINT>(-1)) {
        return TRUE;
    }
    const int width = dis.rcItem.right - dis.rcItem.left;
    const int height = dis.rcItem.bottom - dis.rcItem.top;
    if (width <= 0 || height <= 0) {
        return TRUE;
    }
    // The row is drawn whole off-screen, then copied in one go.
    MemoryDC dc(CreateCompatibleDC(dis.hDC));
    Bitmap surface(CreateCompatibleBitmap(dis.hDC, width, height));
    SelectGuard surfaceSel(dc.Get(), surface.Get());
    const RECT row{0, 0, width, height};
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    FillRect(dc.Get(), &row, background_ ? background_.Get() : GetSysColorBrush(COLOR_WINDOW));
    if (selected) {
        const RECT inner{2, 1, width - 2, height - 1};
        Brush fill(CreateSolidBrush(selection_));
        FillRect(dc.Get(), &inner, fill.Get());
    }
    COLORREF colour = selected ? selectedText_ : text_;
    if (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) {
        colour = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc.Get(), colour);
    SetBkMode(dc.Get(), TRANSPARENT);

    const UINT icon = LOWORD(dis.itemData);
    int textLeft = 5;
    if (icon != 0) {
        textLeft += kIconSize;
    }
    if (icon > 1) {
        Bitmap picture(static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon), IMAGE_BITMAP, 0, 0, 0)));
        const SIZE size = BitmapSize(picture.Get());
        MemoryDC source(CreateCompatibleDC(dis.hDC));
        SelectGuard keep(source.Get(), picture.Get());
        if (keep.Ok()) {
            // gdi32's own entry, which msimg32's TransparentBlt forwards to: msimg32.dll is not
            // one of the libraries Windows always takes from the system folder, so importing it
            // would let a file of that name beside the program be loaded before the program runs.
            GdiTransparentBlt(dc.Get(), 5, 2, size.cx, size.cy, source.Get(), 0, 0, size.cx,
                              size.cy, kSeeThrough);
        }
    }
    const std::wstring text = RowText(static_cast<int>(dis.itemID));
    RECT textRect{textLeft, 0, width - 2, height};
    {
        SelectGuard fontSel(dc.Get(), font_.Get());
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, width, height, dc.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

bool CListBoxEx::OpenEdit(int row, bool newRow, bool numbersOnly) {
    if (edit_.Hwnd() != nullptr || row < 0 || row >= RowCount()) {
        return false;
    }
    RECT rect{};
    if (SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
        return false;
    }
    InvalidateRect(Hwnd(), &rect, TRUE);
    const std::wstring text = RowText(row);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    if (numbersOnly) {
        style |= ES_NUMBER;
    }
    editRow_ = row;
    newRow_ = newRow;
    if (!edit_.CreateEx(0, L"EDIT", text.c_str(), style, rect, Hwnd(), 0)) {
        editRow_ = -1;
        newRow_ = false;
        return false;
    }
    SendMessageW(edit_.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(edit_.Hwnd(), EM_SETSEL, 0, -1);
    edit_.IgnoreHeldKeys();
    SendMessageW(edit_.Hwnd(), EM_LIMITTEXT, ListEditLimit(newRow), 0);
    SetFocus(edit_.Hwnd());
    return true;
}

void CListBoxEx::CloseEdit() {
    const bool hadFocus = GetFocus() == edit_.Hwnd();
    editRow_ = -1;
    newRow_ = false;
    renaming_ = false;
    edit_.DestroyWindow();
    if (hadFocus && Hwnd()) {
        SetFocus(Hwnd());
    }
    if (Hwnd()) {
        Invalidate(true);
    }
}

void CListBoxEx::Commit(bool selectRow) {
    if (edit_.Hwnd() == nullptr || editRow_ < 0) {
        return;
    }
    const int row = editRow_;
    const std::wstring text = WindowText(edit_.Hwnd());
    const ListCommit commit = CommitListEdit(newRow_, renaming_, ToU16(text));
    const DWORD value = RowValue(row);
    // Close first: the list takes the focus back, and that must not commit a second time.
    CloseEdit();
    if (commit.removeRow) {
        DeleteRow(row);
    }
    if (commit.insertRow) {
        InsertRow(row, value, text);
    }
    if (selectRow) {
        SelectRow(row);
    }
    if (commit.notify != 0) {
        Post(commit.notify, static_cast<WPARAM>(row));
    }
}

void CListBoxEx::Cancel() {
    if (edit_.Hwnd() == nullptr || editRow_ < 0) {
        return;
    }
    const int row = editRow_;
    const bool removeRow = CancelRemovesRow(newRow_);
    CloseEdit();
    if (removeRow) {
        DeleteRow(row);
    }
}

bool CListBoxEx::StartRename() {
    const int row = SelectedRow();
    if (row < 0 || edit_.Hwnd() != nullptr) {
        return false;
    }
    renaming_ = editable_;
    if (!OpenEdit(row, false, true)) {
        renaming_ = false;
        return false;
    }
    return true;
}

bool CListBoxEx::StartNewRow() {
    if (edit_.Hwnd() != nullptr) {
        return false;
    }
    const int row = AddRow(0, L"");
    if (row < 0) {
        return false;
    }
    renaming_ = false;
    if (!OpenEdit(row, true, listId_ == kEventListId)) {
        DeleteRow(row);
        return false;
    }
    return true;
}

LRESULT CListBoxEx::OnDoubleClick(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    if (!editable_ || edit_.Hwnd() != nullptr) {
        return result;
    }
    const LRESULT hit = SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) != 0) {
        return result;  // below the last row
    }
    const int row = LOWORD(hit);
    // The event list edits pause rows only.
    if (listId_ == kEventListId && LOWORD(RowValue(row)) != kPauseRowIcon) {
        return result;
    }
    renaming_ = true;
    if (!OpenEdit(row, false, listId_ == kEventListId)) {
        renaming_ = false;
    }
    return result;
}

LRESULT CListBoxEx::OnMouseWheel(WPARAM wParam, LPARAM) {
    const short delta = GET_WHEEL_DELTA_WPARAM(wParam);
    SendMessageW(Hwnd(), WM_VSCROLL, delta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
    return 0;
}

LRESULT CListBoxEx::OnRightButtonDown(WPARAM, LPARAM) {
    Post(kMsgListRightButton, 0);
    return Default();
}

LRESULT CListBoxEx::OnSetFocus(WPARAM wParam, LPARAM) {
    // The user clicked into the list while editing: the edit counts as done.
    if (edit_.Hwnd() != nullptr && reinterpret_cast<HWND>(wParam) == edit_.Hwnd()) {
        Commit(false);
    }
    return Default();
}

LRESULT CListBoxEx::OnKillFocus(WPARAM wParam, LPARAM) {
    const LRESULT result = Default();
    FocusLeft(reinterpret_cast<HWND>(wParam));
    return result;
}

void CListBoxEx::FocusLeft(HWND next) {
    // A pop-up list goes away when the focus leaves it, but not for its own in-place edit nor for
    // another part of the window that holds it.
    if (!keepOwner_ && owner_ != nullptr && IsWindow(owner_) && next != nullptr && next != Hwnd() &&
        (edit_.Hwnd() == nullptr || next != edit_.Hwnd()) && next != owner_ &&
        !IsChild(owner_, next)) {
        HWND owner = owner_;
        ShowWindow(owner, SW_HIDE);
        ::DestroyWindow(owner);
    }
}

LRESULT CListBoxEx::OnKey(WPARAM wParam, LPARAM) {
    if (arrowKeysOnly_ && !IsUpOrDown(WM_KEYDOWN, wParam)) {
        return 0;
    }
    return Default();
}

LRESULT CListBoxEx::OnChar(WPARAM, LPARAM) {
    return arrowKeysOnly_ ? 0 : Default();
}

bool CListBoxEx::PreTranslateMessage(MSG& msg) {
    return arrowKeysOnly_ && msg.hwnd == Hwnd() && IsKeyMessage(msg.message) &&
           !IsUpOrDown(msg.message, msg.wParam);
}

void CListBoxEx::Post(UINT message, WPARAM wParam) {
    if (owner_ != nullptr) {
        PostMessageW(owner_, message, wParam, static_cast<LPARAM>(listId_));
    }
}

}  // namespace t30
