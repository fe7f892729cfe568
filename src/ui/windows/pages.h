// A page of the main window: a child dialog drawn from its skin file.
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
    // Lets go of the page's pictures until it is drawn again (a page nobody sees).
    void ReleasePictures();

  protected:
    CSkinnedPage(const wchar_t* skinFile, std::u16string_view section)
        : skinFile_(skinFile), section_(section) {}
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    // The page is being hidden (the other tab was chosen, or the main window closed).
    virtual void OnHidePage() {}

    SkinWindowImages skin_;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    const wchar_t* skinFile_;
    std::u16string_view section_;
};

}  // namespace t30
