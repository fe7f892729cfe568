#include "ui/windows/warn_dlg.h"

#include "profile/settings_file.h"
#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr COLORREF kTitleColour = RGB(255, 0, 0);
constexpr COLORREF kMessageColour = RGB(230, 230, 230);
constexpr int kMessageFontHeight = 15;
constexpr RECT kMessageBox{40, 80, 360, 200};
constexpr PaintedText kTitle[] = {{IDS_WARN_TITLE, 18, {20, 1, 200, 49}, DT_LEFT}};

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

CWarnBase::CWarnBase(std::wstring message, Placement placement)
    : message_(std::move(message)), placement_(placement) {
    SetPaintedTexts(kTitle, kTitleColour);
}

BOOL CWarnBase::OnInitDialog() {
    const std::vector<SkinControl> controls = {
        SkinOkButton(ok_),
        SkinCancelButton(cancel_),
        SkinButton(3, close_),
    };
    BuildSkin(L"skin_warn.ini", u"SCREEN", controls);
    // Without its pictures the dialog would have no size and could never be answered; the
    // damaged installation is told at start, and Cancel is the answer that changes nothing.
    if (skin_.size.cx <= 0 || skin_.size.cy <= 0) {
        EndDialog(kWarnCancel);
        return TRUE;
    }
    if (placement_ == Placement::kCentredOverOwner) {
        CentreOver(GetWindow(Hwnd(), GW_OWNER));
    } else if (placement_ == Placement::kTopLeftForeground) {
        SetForegroundWindow(Hwnd());
    }
    return TRUE;
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

void CWarnBase::PaintOver(HDC dc, const RECT&) {
    DrawWrappedText(dc, message_, kMessageFontHeight, kMessageBox, DT_CENTER, kMessageColour);
}

CWarnClickDlg::CWarnClickDlg() : CWarnBase(LangString(IDS_WARN_CLICK), Placement::kTopLeft) {}
CWarnMacroSet::CWarnMacroSet()
    : CWarnBase(LangString(IDS_WARN_NO_MACRO), Placement::kCentredOverOwner) {}
CWarnNoMouseDlg::CWarnNoMouseDlg()
    : CWarnBase(LangString(IDS_WARN_NO_MOUSE), Placement::kTopLeftForeground) {}
CDeleteMacroWarn::CDeleteMacroWarn()
    : CWarnBase(LangString(IDS_WARN_DELETE_MACRO), Placement::kCentredOverOwner) {}

}  // namespace t30
