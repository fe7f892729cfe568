// CLineWnd is a picture window: a passive child window that shows one picture file (the name is
// the one the product's description gives; nothing in it draws lines).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

class CLineWnd : public CWnd {
  public:
    bool Create(const RECT& rect, HWND parent, UINT id);
    // Shows a picture file (BMP, JPEG, GIF) from now on. It is decoded when first needed (a page
    // holds two dozen of these, hidden until the user points at their button) and let go with
    // every other skin picture when the main window hides.
    void SetPicture(const std::wstring& path);
    // The decoded picture, or nullptr when the file cannot be decoded.
    HBITMAP Picture();

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnShowWindow(WPARAM, LPARAM);

    std::shared_ptr<StatePictures> picture_;
};

}  // namespace t30
