// The five small warnings and confirmations, all drawn from "skin_warn.ini": a title line and a
// message over the skin's background, OK (result 1), Cancel and close (result 2). Enter and
// Escape leave them open.
#pragma once

#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/controls/bitmap_btn.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/windows/skinned_window.h"

namespace t30 {

constexpr INT_PTR kWarnOk = 1;
constexpr INT_PTR kWarnCancel = 2;

class CWarnBase : public CSkinnedWindow {
  public:
    INT_PTR Run(HWND owner) { return DoModal(owner); }

  protected:
    enum class Placement { kTopLeft, kCentredOverOwner, kTopLeftForeground };
    CWarnBase(std::wstring message, Placement placement);

    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void PaintOver(HDC dc, const RECT& client) override;

    std::wstring message_;
    Placement placement_;
    CRgnButton ok_, cancel_;
    CBitmapBtn close_;
};

// A general warning whose message the caller gives (reset confirmation, locked macro).
class CWarnDlg : public CWarnBase {
  public:
    explicit CWarnDlg(std::wstring message) : CWarnBase(std::move(message), Placement::kTopLeft) {}
};

// A language string with each "%s" replaced by the next of `values`, in order.
std::wstring FillIn(UINT stringId, std::initializer_list<std::wstring_view> values);

// Why writing `file` failed, in the user's words.
std::wstring WriteFailureReason(const std::filesystem::path& file);

// Tells the user about a failure in a CWarnDlg over `owner`; the answer is not looked at.
void ShowWarning(HWND owner, std::wstring message);

// A function assignment would leave no button with the primary click.
class CWarnClickDlg : public CWarnBase {
  public:
    CWarnClickDlg();
};

// The macro editor has no current macro.
class CWarnMacroSet : public CWarnBase {
  public:
    CWarnMacroSet();
};

// No mouse is connected.
class CWarnNoMouseDlg : public CWarnBase {
  public:
    CWarnNoMouseDlg();
};

// Confirms deleting a macro.
class CDeleteMacroWarn : public CWarnBase {
  public:
    CDeleteMacroWarn();
};

}  // namespace t30
