// CBmpEdit: the single-line text field of the skinned windows, painted in flat colours with its
// own font, an inset text area and an optional filter that keeps only numeric characters.
#pragma once

#include <windows.h>

#include <string>

#include "base/window_messages.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"

namespace t30 {

// The registered "BitmapEdit_KillFocus" message, posted to the parent (0, 0) after every change
// of the text (typed, pasted, set by the program).
UINT BmpEditChangedMessage();

class CBmpEdit : public CWnd {
  public:
    // An edit control ("EDIT") as a child of parent; add ES_* styles as wanted.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    void SetNumericFilter(bool on) { numeric_ = on; }
    // Font size before creation (height in logical units, width 0: chosen by the system).
    void SetFontSize(int height, int width = 0) {
        fontHeight_ = height;
        fontWidth_ = width;
    }
    // Gives the field its own font (owners call it after creation).
    void ApplyFont();
    // Colours are set directly by the owner; the next paint uses them.
    void SetTextColour(COLORREF colour);
    void SetBackgroundColour(COLORREF colour);

    std::wstring Text() const;

  protected:
    const MessageMap* GetMessageMap() const override;
    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnVScroll(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnNcCalcSize(WPARAM, LPARAM);
    LRESULT OnNcPaint(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnSetFont(WPARAM, LPARAM);
    int TextHeight() const;
    void CreateFontIfNeeded();
    void TextMayHaveChanged();

    int fontHeight_ = 16;
    int fontWidth_ = 0;
    Font font_;
    COLORREF text_ = RGB(255, 255, 255);
    COLORREF background_ = RGB(77, 77, 77);
    Brush backgroundBrush_;
    bool numeric_ = false;
    int topBand_ = 0, bottomBand_ = 0;  // rows above and below the text line, outside the client
    std::wstring lastText_;
    bool inChange_ = false;
};

}  // namespace t30
