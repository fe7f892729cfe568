// The advanced page (pointer settings and macros). For now it shows its skin's background only.
#pragma once

#include "ui/windows/pages.h"

namespace t30 {

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
