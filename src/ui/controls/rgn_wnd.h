// Child windows shaped by a mask picture: CRgnWnd, and CRgnButton, the push button of the page
// tabs and of every OK, Apply and Cancel of the skinned windows.
#pragma once

#include <windows.h>

#include <string>

#include "base/window_messages.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

class CRgnWnd : public CWnd {
  public:
    static constexpr wchar_t kClassName[] = L"Rgn Button";

    // Full path of the mask picture (BMP; white outside the shape); before Create.
    void SetMaskFile(std::wstring path) { maskFile_ = std::move(path); }
    // Visible tab-stop child; skinned windows pass id 0 and an empty caption.
    bool Create(const wchar_t* caption, const RECT& rect, HWND parent, UINT id);
    // The button's part of its window's state pictures.
    void SetStateImages(SkinPart part) { part_ = std::move(part); }
    // The shape used for hit tests; empty when the mask gave none.
    HRGN HitRegion() const { return hitRegion_.Get(); }

  protected:
    const MessageMap* GetMessageMap() const override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    bool InShape(int x, int y) const;

    SkinPart part_;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    Region hitRegion_;
    std::wstring maskFile_;
};

class CRgnButton : public CRgnWnd {
  public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

    void SetCaption(std::wstring text);
    void SetFontHeight(int height) { fontHeight_ = height; }
    // Page tabs: drawn with the down picture whatever the state.
    void SetChecked(bool checked);
    bool IsChecked() const { return checked_; }
    void SetNotifyId(int id) { notifyId_ = id; }
    void SetTextColours(COLORREF normal, COLORREF over, COLORREF down, COLORREF disabled) {
        normalText_ = normal;
        overText_ = over;
        downText_ = down;
        disabledText_ = disabled;
    }
    State VisualState() const { return state_; }

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnButtonUp(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    void EndHover();
    void Notify(WPARAM hovering);

    std::wstring caption_;
    State state_ = kNormal;
    bool checked_ = false;
    bool pressedInside_ = false;
    int notifyId_ = 342;
    COLORREF overText_ = RGB(255, 0, 0);
    COLORREF disabledText_ = RGB(110, 110, 110);
    COLORREF downText_ = RGB(255, 0, 0);
    COLORREF normalText_ = RGB(255, 255, 255);
    int fontHeight_ = 15;
};

}  // namespace t30
