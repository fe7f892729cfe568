// The button assignment page. For now it shows its skin's background only.
#pragma once

#include "ui/windows/pages.h"

namespace t30 {

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

}  // namespace t30
