// Rectangular buttons cut out of a skinned window's pictures: CBitmapBtn (picture and optional
// caption, optionally a check button) and CBitmapCBtn, the colour swatch (a picture with a colour
// square, for the stage and lighting colours).
#pragma once

#include <windows.h>

#include <string>

#include "base/window_messages.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

class CBitmapButtonBase : public CWnd {
  public:
    ~CBitmapButtonBase() override;
    // A visible child push button with an empty caption and id 0, at `rect` of `parent`.
    bool Create(const RECT& rect, HWND parent);
    // The button's part of its window's state pictures; also drops the border and tab stop.
    void SetStateImages(SkinPart part);
    // Created on first use; `activate` shows or silences it.
    void SetTooltip(const std::wstring& text, bool activate);
    // In check mode a click inverts the check state and the button notifies its parent itself.
    void SetCheckMode(bool on) { checkMode_ = on; }
    void SetCheck(bool on);
    bool IsChecked() const { return checked_; }
    // Lights the button as if hovered (menus opened from it keep it lit) and tells the parent.
    void SetHover(bool on);
    bool IsHovering() const { return hovering_; }
    void SetNotifyId(int id) { notifyId_ = id; }

  protected:
    const MessageMap* GetMessageMap() const override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    virtual void Draw(const DRAWITEMSTRUCT& item) = 0;

    SkinPart part_;
    bool checked_ = false;
    bool checkMode_ = false;
    bool hovering_ = false;

  private:
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnDoubleClick(WPARAM, LPARAM);
    void ActivateOwner();
    LRESULT OnButtonUp(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnDrawItem(WPARAM, LPARAM);
    void NotifyHover(bool on);

    HWND tooltip_ = nullptr;  // popup owned by this button
    bool hasTool_ = false;
    int notifyId_ = 0;
};

class CBitmapBtn : public CBitmapButtonBase {
  public:
    // Caption placement: 4 centred; 5 left at 10; 6 as 5, one lower; 7 wrapped from 22; 8 from 35.
    enum TextLayout { kCentred = 4, kLeft = 5, kLeftLower = 6, kWrapped22 = 7, kWrapped35 = 8 };

    void SetCaption(std::wstring text) { caption_ = std::move(text); }
    const std::wstring& Caption() const { return caption_; }
    void SetTextLayout(int layout) { layout_ = layout; }
    void SetFont(int height) { fontHeight_ = height; }

  protected:
    void Draw(const DRAWITEMSTRUCT& item) override;

  private:
    SkinState ChooseImage(bool pressed, bool disabled) const;

    std::wstring caption_;
    int layout_ = kCentred;
    int fontHeight_ = 15;
};

class CBitmapCBtn : public CBitmapButtonBase {
  public:
    // The owner repaints after changing it.
    void SetSwatchColour(COLORREF colour) { swatch_ = colour; }
    COLORREF SwatchColour() const { return swatch_; }

  protected:
    void Draw(const DRAWITEMSTRUCT& item) override;

  private:
    COLORREF swatch_ = RGB(0, 0, 0);
};

}  // namespace t30
