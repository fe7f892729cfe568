// CSkinnedWindow: the base of every window drawn from a skin file (the main window, its two pages,
// the modal dialogs). It owns the skin, paints the background, a table of texts and whatever the
// window adds over them in one go, moves the window when its body is dragged, and lets go of the
// pictures when the window goes. CSkinnedPage is the same for a page inside the main window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/bitmap_btn.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/framework/wnd.h"
#include "ui/skin/skin_window_win32.h"
#include "ui/windows/painted_text.h"

namespace t30 {

class CSkinnedWindow : public CDialog {
  public:
    // Lets go of the window's pictures until it is drawn again.
    void ReleasePictures();

  protected:
    // What a press on the window's body drags: the window itself, or the window it sits in.
    enum class DragMoves { kSelf, kParent };
    explicit CSkinnedWindow(DragMoves drag = DragMoves::kSelf) : drag_(drag) {}

    const MessageMap* GetMessageMap() const override;

    // Builds the window from the `section` of the skin file `file` with its `controls`.
    void BuildSkin(const std::wstring& file, std::u16string_view section,
                   const std::vector<SkinControl>& controls);
    // The texts painted over the background, in `colour`; the table outlives the window.
    template <std::size_t N>
    void SetPaintedTexts(const PaintedText (&texts)[N], COLORREF colour) {
        texts_ = texts;
        textCount_ = N;
        textColour_ = colour;
    }
    // Paints what the window adds over its background and texts (into the off-screen buffer).
    virtual void PaintOver(HDC, const RECT&) {}

    // The control of skin entry `key`: `button` cut out of the window's pictures, then `finish`ed
    // (caption, layout, modes) when given.
    SkinControl SkinButton(int key, CBitmapButtonBase& button,
                           std::function<void(const SkinEntry&)> finish = {});
    // A region button of skin entry `key`, shaped by `mask` of the skin folder, captioned with
    // the language string `caption` in `fontHeight` (0: the button's own).
    SkinControl SkinRegionButton(int key, CRgnButton& button, const wchar_t* mask, UINT caption,
                                 int fontHeight = 0);
    // Skin entries 1 and 2 of a dialog: its OK and Cancel region buttons.
    SkinControl SkinOkButton(CRgnButton& button);
    SkinControl SkinCancelButton(CRgnButton& button);

    // Centres the window over `over` when that is shown and not minimised, else over the work
    // area of the desktop.
    void CentreOver(HWND over);

    // The handlers, for windows that add to them.
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    SkinWindowImages skin_;

  private:
    DragMoves drag_;
    const PaintedText* texts_ = nullptr;
    std::size_t textCount_ = 0;
    COLORREF textColour_ = 0;
};

// A page of the main window: a child dialog; dragging it moves the main window, and only the page
// in sight holds pictures.
class CSkinnedPage : public CSkinnedWindow {
  public:
    // A child dialog of `parent`, placed at `rect`.
    bool Create(HWND parent, const RECT& rect);

  protected:
    CSkinnedPage() : CSkinnedWindow(DragMoves::kParent) {}
    const MessageMap* GetMessageMap() const override;
    // The page is being hidden (the other tab was chosen, or the main window closed).
    virtual void OnHidePage() {}

  private:
    LRESULT OnShowWindow(WPARAM, LPARAM);
};

}  // namespace t30
