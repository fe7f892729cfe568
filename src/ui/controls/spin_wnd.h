// CSpinWnd: a numeric spin box made of two bitmap-button arrows and a CBmpEdit that holds the
// value as text (it has no visible area: owners show the value elsewhere).
#pragma once

#include <windows.h>

#include "base/window_messages.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/control_rules.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

class CSpinWnd : public CWnd {
  public:
    static constexpr UINT kEditId = 401;

    // Visible child at rect (owner's client coordinates); the arrows and the edit come with it.
    bool Create(const RECT& rect, HWND owner, UINT id);
    // The spin's part of its owner's state pictures; each arrow gets its own part of it.
    void SetStateImages(SkinPart part);
    // Stores the range and limits the edit to the characters the maximum needs.
    void SetRange(int minimum, int maximum);
    void SetStep(int step) { range_.step = step; }
    // Shows the value in the edit unless it shows it already (which then also tells the owner).
    void SetValue(int value);
    int Value() const { return value_; }

    CBmpEdit& Edit() { return edit_; }
    CBitmapBtn& UpButton() { return up_; }
    CBitmapBtn& DownButton() { return down_; }

  protected:
    const MessageMap* GetMessageMap() const override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnEditChanged(WPARAM, LPARAM);
    LRESULT OnEditLeft(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    RECT UpRect() const;
    RECT DownRect() const;
    void WriteEdit(int value);
    void Notify();

    SkinPart part_;
    CBitmapBtn up_, down_;
    CBmpEdit edit_;
    int value_ = 0;
    SpinRange range_{0, 10, 1};
    HWND owner_ = nullptr;
    UINT id_ = 0;
    RECT rect_{};
};

}  // namespace t30
