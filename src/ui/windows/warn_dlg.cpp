#include "ui/windows/warn_dlg.h"

#include "profile/settings_file.h"
#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"
#include "ui/windows/skinned_dialog.h"

namespace t30 {
namespace {

constexpr int kTitleFontHeight = 18;
constexpr int kMessageFontHeight = 15;
constexpr RECT kTitleBox{20, 1, 200, 49};
constexpr RECT kMessageBox{40, 80, 360, 200};

// Word-wrapped text in `box`, vertically centred when it is shorter than the box and otherwise
// starting at the top and cut off at its bottom.
void DrawWrapped(HDC dc, const std::wstring& text, RECT box, UINT align) {
    RECT measure{box.left, box.top, box.right, box.top};
    const int height =
        DrawTextW(dc, text.c_str(), -1, &measure, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX | align);
    const int boxHeight = box.bottom - box.top;
    if (height < boxHeight) {
        box.top += (boxHeight - height) / 2;
    }
    DrawTextW(dc, text.c_str(), -1, &box, DT_WORDBREAK | DT_NOPREFIX | align);
}

}  // namespace

std::wstring FillIn(UINT stringId, std::initializer_list<std::wstring_view> values) {
    const std::wstring pattern = LangString(stringId, 1024);
    std::wstring text;
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's' &&
            next != values.end()) {
            text += *next++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::wstring WriteFailureReason(const std::filesystem::path& file) {
    switch (ExplainWriteFailure(file)) {
        case WriteFailure::kFolderMissing:
            return LangString(IDS_REASON_FOLDER_MISSING, kLangLongTextCapacity);
        case WriteFailure::kFileReadOnly:
            return LangString(IDS_REASON_FILE_READ_ONLY, kLangLongTextCapacity);
        case WriteFailure::kFolderRefuses:
            break;
    }
    return LangString(IDS_REASON_FOLDER_REFUSES, kLangLongTextCapacity);
}

void ShowWarning(HWND owner, std::wstring message) {
    CWarnDlg warning(std::move(message));
    warning.Run(owner);
}

const MessageMap* CWarnBase::GetMessageMap() const {
    static const MessageMap map{CDialog::GetMessageMap(),
                                {
                                    OnMessage(WM_PAINT, &CWarnBase::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CWarnBase::OnEraseBackground),
                                    OnMessage(WM_LBUTTONDOWN, &CWarnBase::OnLButtonDown),
                                }};
    return &map;
}

BOOL CWarnBase::OnInitDialog() {
    const std::vector<SkinControl> controls = {
        SkinOkButton(ok_, Hwnd()),
        SkinCancelButton(cancel_, Hwnd()),
        {3,
         [&](const SkinEntry&, const RECT& r, const SkinPictures& p) {
             close_.Create(r, Hwnd());
             close_.SetStateImages(p.Part(r));
         }},
    };
    BuildSkinWindow(Hwnd(), L"skin_warn.ini", u"SCREEN", controls, skin_);
    // Without its pictures the dialog would have no size and could never be answered; the
    // damaged installation is told at start, and Cancel is the answer that changes nothing.
    if (skin_.size.cx <= 0 || skin_.size.cy <= 0) {
        EndDialog(kWarnCancel);
        return TRUE;
    }
    if (placement_ == Placement::kCentredOverOwner) {
        CentreOverOwner();
    } else if (placement_ == Placement::kTopLeftForeground) {
        SetForegroundWindow(Hwnd());
    }
    return TRUE;
}

void CWarnBase::CentreOverOwner() {
    CentreDialog(Hwnd(), GetWindow(Hwnd(), GW_OWNER));
}

bool CWarnBase::PreTranslateMessage(MSG& msg) {
    // Only the buttons answer a warning.
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

bool CWarnBase::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == ok_.Hwnd()) {
        EndDialog(kWarnOk);
        return true;
    }
    if (from != nullptr && (from == cancel_.Hwnd() || from == close_.Hwnd())) {
        EndDialog(kWarnCancel);
        return true;
    }
    if (from == nullptr && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        return true;  // Enter and Escape through the dialog manager
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CWarnBase::OnLButtonDown(WPARAM, LPARAM lParam) {
    PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
    return Default();
}

LRESULT CWarnBase::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (!buffer.Ok()) {
        return 0;
    }
    if (skin_.Background() != nullptr) {
        MemoryDC source(CreateCompatibleDC(paint.Get()));
        SelectGuard keep(source.Get(), skin_.Background());
        BitBlt(buffer.Dc(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(buffer.Dc(), TRANSPARENT);
    {
        Font title(MakeArialFont(kTitleFontHeight, FW_NORMAL));
        SelectGuard keep(buffer.Dc(), title.Get());
        SetTextColor(buffer.Dc(), RGB(255, 0, 0));
        DrawWrapped(buffer.Dc(), LangString(IDS_WARN_TITLE), kTitleBox, DT_LEFT);
    }
    {
        Font text(MakeArialFont(kMessageFontHeight, FW_NORMAL));
        SelectGuard keep(buffer.Dc(), text.Get());
        SetTextColor(buffer.Dc(), RGB(230, 230, 230));
        DrawWrapped(buffer.Dc(), message_, kMessageBox, DT_CENTER);
    }
    buffer.Present();
    return 0;
}

CWarnClickDlg::CWarnClickDlg() : CWarnBase(LangString(IDS_WARN_CLICK), Placement::kTopLeft) {}
CWarnMacroSet::CWarnMacroSet()
    : CWarnBase(LangString(IDS_WARN_NO_MACRO), Placement::kCentredOverOwner) {}
CWarnNoMouseDlg::CWarnNoMouseDlg()
    : CWarnBase(LangString(IDS_WARN_NO_MOUSE), Placement::kTopLeftForeground) {}
CDeleteMacroWarn::CDeleteMacroWarn()
    : CWarnBase(LangString(IDS_WARN_DELETE_MACRO), Placement::kCentredOverOwner) {}

}  // namespace t30
