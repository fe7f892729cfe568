// CShortCutDlg: the modal dialog in which the user defines the key combination a mouse button
// sends. While it is open the whole keyboard is captured through the process's keyboard hook, so
// every key (Enter and Escape too) becomes the key being defined; only the mouse ends it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "host/keyboard_capture.h"
#include "keys/keyboard_layout.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/page_logic/shortcut_dialog_state.h"
#include "ui/windows/skinned_window.h"

namespace t30 {

constexpr UINT kShortcutKeyFieldId = 4010;

class CShortCutDlg : public CSkinnedWindow, private CaptureClient {
  public:
    // `capture`: the process's keyboard capture (the recorder shares it).
    CShortCutDlg(const KeyboardLayout& layout, KeyboardCapture& capture);
    ~CShortCutDlg() override;

    // The key and flags the dialog opens with (from the button's slot).
    void SetPreset(const ShortcutDialogState& preset) { state_ = preset; }
    // IDOK or IDCANCEL.
    INT_PTR Run(HWND parent) { return DoModal(parent); }

    uint8_t usage() const { return state_.usage(); }
    const ModifierFlags& flags() const { return state_.flags(); }
    const ShortcutDialogState& state() const { return state_; }

    // For checks of the dialog's windows.
    std::wstring KeyFieldText() const { return keyField_.Text(); }
    HWND CheckButton(int n) const { return checks_.at(static_cast<std::size_t>(n)).Hwnd(); }
    bool CheckShown(int n) const { return checks_.at(static_cast<std::size_t>(n)).IsChecked(); }
    HWND OkButton() const { return ok_.Hwnd(); }
    HWND CancelButton() const { return cancel_.Hwnd(); }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The keyboard never ends the dialog (without the hook, Enter and Escape would).
    void OnOK() override {}
    void OnCancel() override {}

  private:
    // The dialog manager erases this dialog's background before the skin covers it.
    LRESULT OnEraseDefault(WPARAM, LPARAM) { return Default(); }
    LRESULT OnHookKey(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void CaptureTaken() override {}
    void ShowKey();
    void ShowFlags();
    void CentreOnParent();

    const KeyboardLayout& layout_;
    KeyboardCapture& capture_;
    ShortcutDialogState state_;
    CBmpEdit keyField_;
    CRgnButton ok_, cancel_;
    CBitmapBtn close_;
    std::array<CBitmapBtn, kModifierFlagCount> checks_;
};

}  // namespace t30
