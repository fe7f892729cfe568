#include "ui/windows/select_macro_dlg.h"

#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr COLORREF kTextColour = RGB(230, 230, 230);
constexpr PaintedText kTexts[] = {
    {IDS_SELECT_MACRO_TITLE, 18, {20, 1, 200, 49}, DT_LEFT},
    {IDS_SELECT_MACRO_HINT, 14, {30, 50, 350, 80}, DT_LEFT},
    {IDS_RUN_MODE_COUNT, 14, {210, 72, 380, 136}, DT_LEFT},
    {IDS_RUN_MODE_HOLD, 14, {210, 137, 380, 185}, DT_LEFT},
    {IDS_RUN_MODE_TOGGLE, 14, {210, 181, 380, 259}, DT_LEFT},
};

}  // namespace

CSelectMacroDlg::CSelectMacroDlg(const MacroLibrary& library) : library_(library) {
    SetPaintedTexts(kTexts, kTextColour);
}

BOOL CSelectMacroDlg::OnInitDialog() {
    std::vector<SkinControl> controls = {
        SkinOkButton(ok_),
        SkinCancelButton(cancel_),
        SkinButton(3, close_),
        {4,
         [&](const SkinEntry&, const RECT& r, const SkinPictures&) {
             list_.Create(WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, r, Hwnd(),
                          kMacroChoiceListId);
             list_.SetListId(kMacroChoiceListId);
         }},
        SkinButton(8, option_,
                   [this](const SkinEntry&) {
                       option_.SetCheckMode(true);
                       option_.SetTextLayout(CBitmapBtn::kWrapped22);
                       option_.SetCaption(LangString(IDS_MACRO_OPTION));
                   }),
    };
    for (std::size_t mode = 0; mode < runModes_.size(); ++mode) {
        controls.push_back(SkinButton(5 + static_cast<int>(mode), runModes_[mode]));
    }
    BuildSkin(L"skin_select_macro.ini", u"SCREEN", controls);

    list_.SetColours(RGB(255, 255, 255), GetSysColor(COLOR_HIGHLIGHT));
    list_.SetTextColours(RGB(0, 0, 0), GetSysColor(COLOR_HIGHLIGHTTEXT));
    ShowRunModes();
    const std::vector<std::u16string> lines = MacroSelectState::ListLines(library_);
    for (const std::u16string& line : lines) {
        list_.AddRow(0, ToWide(line));
    }
    list_.SelectRow(state_.InitialLine(lines.size()));
    option_.SetCheck(state_.optionChecked());
    CentreOnParent();
    return TRUE;
}

void CSelectMacroDlg::ShowRunModes() {
    const auto checks = state_.RunModeChecks();
    for (std::size_t mode = 0; mode < runModes_.size(); ++mode) {
        runModes_[mode].SetCheck(checks[mode]);
        runModes_[mode].Invalidate();
    }
}

void CSelectMacroDlg::CentreOnParent() {
    CentreOver(GetWindow(Hwnd(), GW_OWNER));
}

bool CSelectMacroDlg::PreTranslateMessage(MSG& msg) {
    return msg.message == WM_KEYDOWN &&
           (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE);
}

bool CSelectMacroDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr) {
        if (from == ok_.Hwnd()) {
            EndDialog(IDOK);
        } else if (from == cancel_.Hwnd() || from == close_.Hwnd()) {
            EndDialog(IDCANCEL);
        } else if (from == list_.Hwnd()) {
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                state_.OnSelectionChanged(list_.SelectedRow());
            }
        } else if (from == option_.Hwnd()) {
            state_.OnOptionClicked(option_.IsChecked());
        } else {
            for (std::size_t mode = 0; mode < runModes_.size(); ++mode) {
                if (from == runModes_[mode].Hwnd()) {
                    state_.OnRunModeClicked(static_cast<int>(mode));
                    ShowRunModes();
                    break;
                }
            }
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

}  // namespace t30
