// CTextLabel, a passive child window with one line of flat text, and the plain window class of
// the passive windows (CLineWnd, the picture window, is in picture_wnd.h).
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"

namespace t30 {

class CTextLabel : public CWnd {
  public:
    // Visible child at rect with empty text and id 0.
    bool Create(const RECT& rect, HWND parent);
    // Stores the text and repaints the label.
    void SetLabelText(std::wstring text);
    const std::wstring& LabelText() const { return text_; }
    void SetBackground(COLORREF colour) { background_ = colour; }

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    std::wstring text_;
    RECT client_{};
    COLORREF background_ = RGB(2, 2, 2);
};

// Registers (once) a plain window class with the default procedure, no background brush and the
// arrow cursor; returns its name, or nullptr if it cannot be registered.
const wchar_t* PlainWindowClass(const wchar_t* name);

}  // namespace t30
