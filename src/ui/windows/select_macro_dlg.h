// CSelectMacroDlg: the modal dialog in which the user picks a macro of the library for a mouse
// button, with one of three run modes and an option. It only collects the three values; the
// button page copies the macro into the button's slot.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "macro/macro_library.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/list_box_ex.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/page_logic/macro_select_state.h"
#include "ui/windows/skinned_window.h"

namespace t30 {

constexpr UINT kMacroChoiceListId = 4096;

class CSelectMacroDlg : public CSkinnedWindow {
  public:
    explicit CSelectMacroDlg(const MacroLibrary& library);

    // The selection, run mode and option the dialog opens with (from the button's slot).
    void SetPreset(const MacroSelectState& preset) { state_ = preset; }
    // IDOK or IDCANCEL.
    INT_PTR Run(HWND parent) { return DoModal(parent); }

    const MacroSelection& selection() const { return state_.selection(); }

    // For checks of the dialog's windows.
    HWND List() const { return list_.Hwnd(); }
    int ListLineCount() const { return list_.RowCount(); }
    int ListSelection() const { return list_.SelectedRow(); }
    bool RunModeShown(int mode) const {
        return runModes_.at(static_cast<std::size_t>(mode)).IsChecked();
    }
    HWND RunModeButton(int mode) const {
        return runModes_.at(static_cast<std::size_t>(mode)).Hwnd();
    }
    bool OptionShown() const { return option_.IsChecked(); }
    HWND OkButton() const { return ok_.Hwnd(); }

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Enter, Escape and Space neither end the dialog nor press a button.
    bool PreTranslateMessage(MSG& msg) override;
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void ShowRunModes();
    void CentreOnParent();

    const MacroLibrary& library_;
    MacroSelectState state_;
    CRgnButton ok_, cancel_;
    CBitmapBtn close_;
    CListBoxEx list_;
    std::array<CBitmapBtn, kMacroRunModeCount> runModes_;
    CBitmapBtn option_;
};

}  // namespace t30
