// The two pages of the main window. For now each shows its skin's background; their controls
// arrive with the button assignment page and the advanced page.
#pragma once

#include <windows.h>

#include "profile/profile_store.h"
#include "ui/framework/wnd.h"
#include "ui/skin/skin_window_win32.h"

namespace t30 {

class CSkinnedPage : public CDialog {
  public:
    // A child dialog of `parent`, built from `skinFile`, placed at `rect`.
    bool Create(HWND parent, const RECT& rect);

  protected:
    CSkinnedPage(const wchar_t* skinFile, std::u16string_view section)
        : skinFile_(skinFile), section_(section) {}
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    SkinWindowImages skin_;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    const wchar_t* skinFile_;
    std::u16string_view section_;
};

// The button assignment page.
class CButtonDlg : public CSkinnedPage {
  public:
    explicit CButtonDlg(ProfileStore& store)
        : CSkinnedPage(L"skin_button_page.ini", u"Screen"), store_(store) {}
    // Reloads everything shown from the current profile.
    void Refresh() { InvalidateRect(Hwnd(), nullptr, FALSE); }

  private:
    ProfileStore& store_;
};

// The advanced page (pointer settings and macros).
class CSensitivityDlg : public CSkinnedPage {
  public:
    explicit CSensitivityDlg(ProfileStore& store)
        : CSkinnedPage(L"skin_advance_setting.ini", u"SCREEN"), store_(store) {}
    void RefreshFromProfile() { InvalidateRect(Hwnd(), nullptr, FALSE); }

  private:
    ProfileStore& store_;
};

}  // namespace t30
