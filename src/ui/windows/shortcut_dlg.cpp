#include "ui/windows/shortcut_dlg.h"

#include "host/keyboard_hook_win32.h"
#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr COLORREF kTextColour = RGB(230, 230, 230);
constexpr PaintedText kTexts[] = {
    {IDS_SHORTCUT_TITLE, 18, {20, 1, 300, 49}, DT_LEFT},
    {IDS_SHORTCUT_HINT, 15, {30, 90, 360, 120}, DT_LEFT},
};

}  // namespace

CShortCutDlg::CShortCutDlg(const KeyboardLayout& layout, KeyboardCapture& capture)
    : layout_(layout), capture_(capture) {
    SetPaintedTexts(kTexts, kTextColour);
}

CShortCutDlg::~CShortCutDlg() {
    // WM_DESTROY releases the keyboard; a dialog that never got that far must not keep it.
    capture_.release(*this);
}

const MessageMap* CShortCutDlg::GetMessageMap() const {
    static const MessageMap map{CSkinnedWindow::GetMessageMap(),
                                {
                                    OnMessage(WM_ERASEBKGND, &CShortCutDlg::OnEraseDefault),
                                    OnMessage(kMsgHookKey, &CShortCutDlg::OnHookKey),
                                    OnMessage(WM_DESTROY, &CShortCutDlg::OnDestroy),
                                }};
    return &map;
}

BOOL CShortCutDlg::OnInitDialog() {
    std::vector<SkinControl> controls = {
        {4,
         [&](const SkinEntry&, const RECT& r, const SkinPictures&) {
             keyField_.Create(WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER, r, Hwnd(),
                              kShortcutKeyFieldId);
         }},
        SkinOkButton(ok_),
        SkinCancelButton(cancel_),
        SkinButton(3, close_,
                   [this](const SkinEntry& entry) {
                       close_.SetCheck(false);
                       close_.SetTooltip(std::wstring(entry.text.begin(), entry.text.end()), true);
                   }),
    };
    for (std::size_t n = 0; n < checks_.size(); ++n) {
        CBitmapBtn& check = checks_[n];
        controls.push_back(SkinButton(5 + static_cast<int>(n), check,
                                      [&check](const SkinEntry&) { check.SetCheckMode(true); }));
    }
    BuildSkin(L"skin_key.ini", u"SCREEN", controls);

    SetWindowTextW(Hwnd(), L"Shortcut Dialog");
    keyField_.SetTextColour(RGB(230, 230, 230));
    keyField_.SetBackgroundColour(RGB(30, 30, 30));
    keyField_.ApplyFont();
    capture_.acquire(*this, Hwnd());
    ShowKey();
    ShowFlags();
    CentreOnParent();
    return TRUE;
}

void CShortCutDlg::ShowKey() {
    SendMessageW(keyField_.Hwnd(), EM_SETSEL, 0, -1);
    const std::wstring text = ToWide(state_.KeyFieldText());
    SendMessageW(keyField_.Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void CShortCutDlg::ShowFlags() {
    const auto& views = state_.CheckButtons();
    for (std::size_t n = 0; n < checks_.size(); ++n) {
        checks_[n].SetCheck(views[n].checked);
        EnableWindow(checks_[n].Hwnd(), views[n].enabled);
        checks_[n].Invalidate();
    }
}

void CShortCutDlg::CentreOnParent() {
    HWND parent = GetParent(Hwnd());
    CentreOver(parent != nullptr ? parent : GetWindow(Hwnd(), GW_OWNER));
}

LRESULT CShortCutDlg::OnHookKey(WPARAM wParam, LPARAM) {
    // Presses and releases alike: the last event wins.
    state_.OnKey(static_cast<int>(wParam), layout_);
    ShowKey();
    return 1;
}

bool CShortCutDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr) {
        if (from == ok_.Hwnd()) {
            EndDialog(IDOK);
        } else if (from == cancel_.Hwnd() || from == close_.Hwnd()) {
            EndDialog(IDCANCEL);
        } else {
            for (std::size_t n = 0; n < checks_.size(); ++n) {
                if (from == checks_[n].Hwnd()) {
                    state_.OnCheckButton(static_cast<int>(n), checks_[n].IsChecked());
                    ShowFlags();
                    break;
                }
            }
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CShortCutDlg::OnDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CSkinnedWindow::OnDestroy(wParam, lParam);
    capture_.release(*this);
    return result;
}

}  // namespace t30
