// Passive child windows: CTextLabel, one line of flat text, and CLineWnd, one picture.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

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

// Registers (once) a plain window class with the default procedure, no background brush and the
// arrow cursor; returns its name, or nullptr if it cannot be registered.
const wchar_t* PlainWindowClass(const wchar_t* name);

}  // namespace t30
