// The slider: CPHSlider is its knob, CClickHSlider the slider itself. The track is cut from the
// window skin; the knob is a small shaped window drawn from its own picture file. Dragging the
// knob or clicking the track reports the value to the owner.
#pragma once

#include <windows.h>

#include <string>

#include "base/window_messages.h"
#include "ui/controls/control_rules.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/state_pictures_win32.h"

namespace t30 {

// The knob. Its left edge moves between x1 and x2 - width of its parent's client area.
class CPHSlider : public CWnd {
  public:
    // Takes the knob picture (nothing is created without it) and makes a visible tab-stop child
    // centred on (x1, y). When shaped, the colour of the picture's top-left pixel is see-through.
    bool Create(Bitmap picture, int x1, int y, int x2, int bottom, HWND parent, UINT id,
                bool shaped);
    void SetRange(int minimum, int maximum);
    void SetRounding(bool on) { rounding_ = on; }
    void SetDraggable(bool on) { draggable_ = on; }
    // Clamps the value, stores it and moves the knob to its place.
    void SetPosition(int value);
    int Value() const { return value_; }
    SIZE KnobSize() const { return SIZE{width_, height_}; }

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    SliderTravel Travel() const;
    int LeftInParent() const;
    void MoveLeftTo(int left);
    void Report();

    Bitmap picture_;
    int width_ = 0, height_ = 0;
    int x1_ = 0, y_ = 0, x2_ = 0;
    int minimum_ = 0, maximum_ = 10;
    int value_ = 0;
    bool rounding_ = false;
    bool draggable_ = true;
    bool dragging_ = false;
    POINT grab_{};
    UINT id_ = 0;
};

class CClickHSlider : public CWnd {
  public:
    // Reads the knob picture's size, stores everything, sets the range 0..10 and creates the
    // visible child at trackRect (owner's client coordinates). False, and nothing created, when
    // the knob picture cannot be loaded.
    bool Create(const std::wstring& knobFile, const RECT& trackRect, HWND owner, UINT id);
    // The track: its part of the owner's state pictures, drawn in the Normal state.
    void SetTrackImage(SkinPart track);
    void SetRange(int minimum, int maximum);
    void SetRounding(bool on);
    // Moves the knob to the value's place (no message to the owner).
    void SetValue(int value);
    int Value() const { return knob_.Value(); }
    CPHSlider& Knob() { return knob_; }

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnButtonUp(WPARAM, LPARAM);
    LRESULT OnKnobValue(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    SkinPart track_;
    Bitmap knobPicture_;  // until the knob is made
    int knobWidth_ = 0, knobHeight_ = 0;
    RECT trackRect_{};
    HWND owner_ = nullptr;
    UINT id_ = 0;
    int minimum_ = 0, maximum_ = 10;
    bool rounding_ = false;
    bool pressed_ = false;
    CPHSlider knob_;
};

}  // namespace t30
