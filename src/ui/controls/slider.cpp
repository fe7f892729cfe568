#include "ui/controls/slider.h"

#include <windowsx.h>

#include <cstdio>
#include <utility>

#include "base/debug_output.h"
#include "base/wide_text.h"
#include "ui/controls/text_label.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

// "<name>=<value as %f>\n" to the debugger output.
void TraceValue(const char* name, double value) {
    char line[64];
    std::snprintf(line, sizeof line, "%s=%f\n", name, value);
    PlatformDebugOutput().Write(Widen(line));
}

void CopyPicture(HDC target, HBITMAP picture) {
    const SIZE size = BitmapSize(picture);
    MemoryDC source(CreateCompatibleDC(target));
    SelectGuard keep(source.Get(), picture);
    if (keep.Ok()) {
        BitBlt(target, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

}  // namespace

// ---- CPHSlider

const MessageMap* CPHSlider::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_LBUTTONDOWN, &CPHSlider::OnButtonDown),
                                    OnMessage(WM_MOUSEMOVE, &CPHSlider::OnMouseMove),
                                    OnMessage(WM_LBUTTONUP, &CPHSlider::OnButtonUp),
                                    OnMessage(WM_CAPTURECHANGED, &CPHSlider::OnCaptureChanged),
                                    OnMessage(WM_PAINT, &CPHSlider::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CPHSlider::OnEraseBackground),
                                }};
    return &map;
}

bool CPHSlider::Create(Bitmap picture, int x1, int y, int x2, int bottom, HWND parent, UINT id,
                       bool shaped) {
    (void)bottom;  // the knob keeps its picture's height
    x1_ = x1;
    y_ = y;
    x2_ = x2;
    minimum_ = 0;
    maximum_ = 10;
    value_ = 0;
    draggable_ = true;
    id_ = id;
    picture_ = std::move(picture);
    if (!picture_) {
        return false;
    }
    const SIZE size = BitmapSize(picture_.Get());
    width_ = size.cx;
    height_ = size.cy;
    const wchar_t* cls = PlainWindowClass(L"T30 Slider Knob");
    const RECT rect{x1 - width_ / 2, y - height_ / 2, x1 - width_ / 2 + width_,
                    y - height_ / 2 + height_};
    if (cls == nullptr ||
        !CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id)) {
        return false;
    }
    if (shaped && width_ > 0 && height_ > 0) {
        COLORREF key = 0;
        {
            MemoryDC dc(CreateCompatibleDC(nullptr));
            SelectGuard keep(dc.Get(), picture_.Get());
            key = GetPixel(dc.Get(), 0, 0);
        }
        Region shape = MaskToRegion(picture_.Get(), key, 0);
        if (shape) {
            SetWindowRgn(Hwnd(), shape.Release(), TRUE);  // the system owns it from here on
        }
    }
    return true;
}

void CPHSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

SliderTravel CPHSlider::Travel() const {
    return SliderTravel{x1_, x2_, width_, minimum_, maximum_};
}

int CPHSlider::LeftInParent() const {
    RECT rect;
    GetWindowRect(Hwnd(), &rect);
    MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&rect), 2);
    return rect.left;
}

void CPHSlider::MoveLeftTo(int left) {
    SetWindowPos(Hwnd(), nullptr, left, y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CPHSlider::SetPosition(int value) {
    value_ = ClampInt(value, minimum_, maximum_);
    if (Hwnd()) {
        MoveLeftTo(SliderLeftOfValue(Travel(), value_));
    }
}

void CPHSlider::Report() {
    PostMessageW(GetParent(Hwnd()), kMsgSliderValue, static_cast<WPARAM>(value_), id_);
}

LRESULT CPHSlider::OnButtonDown(WPARAM, LPARAM lParam) {
    if (draggable_) {
        SetCapture(Hwnd());
        grab_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        dragging_ = true;
    }
    return Default();
}

LRESULT CPHSlider::OnMouseMove(WPARAM, LPARAM lParam) {
    if (dragging_) {
        const int left =
            ClampInt(LeftInParent() + GET_X_LPARAM(lParam) - grab_.x, x1_, x2_ - width_);
        MoveLeftTo(left);
        value_ = SliderValueOfLeft(Travel(), left, rounding_);
        Report();
    }
    return Default();
}

LRESULT CPHSlider::OnButtonUp(WPARAM, LPARAM) {
    // Only the end of a drag that began on the knob counts; a release of a press made elsewhere
    // does not.
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        double exact = 0;
        value_ = SliderValueOfLeft(Travel(), LeftInParent(), rounding_, &exact);
        TraceValue("CPHSlider", exact);
        Report();
        if (rounding_) {
            MoveLeftTo(SliderLeftOfValue(Travel(), value_));
        }
    }
    return Default();
}

// Capture taken away mid-drag (a menu, another window): the drag ends where the knob is.
LRESULT CPHSlider::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if (dragging_ && reinterpret_cast<HWND>(lParam) != Hwnd()) {
        dragging_ = false;
    }
    return Default();
}

LRESULT CPHSlider::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    CopyPicture(dc.Get(), picture_.Get());
    return 0;
}

// ---- CClickHSlider

const MessageMap* CClickHSlider::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_CREATE, &CClickHSlider::OnCreate),
                                    OnMessage(WM_LBUTTONDOWN, &CClickHSlider::OnButtonDown),
                                    OnMessage(WM_LBUTTONUP, &CClickHSlider::OnButtonUp),
                                    OnMessage(kMsgSliderValue, &CClickHSlider::OnKnobValue),
                                    OnMessage(WM_PAINT, &CClickHSlider::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CClickHSlider::OnEraseBackground),
                                }};
    return &map;
}

bool CClickHSlider::Create(const std::wstring& knobFile, const RECT& trackRect, HWND owner,
                           UINT id) {
    // Read once: the knob takes the picture when the track's window is made.
    const SIZE size = LoadSkinPicture(knobFile, knobPicture_);
    if (!knobPicture_) {
        return false;
    }
    knobWidth_ = size.cx;
    knobHeight_ = size.cy;
    trackRect_ = trackRect;
    owner_ = owner;
    id_ = id;
    minimum_ = 0;
    maximum_ = 10;
    const wchar_t* cls = PlainWindowClass(L"T30 Slider Track");
    return cls != nullptr &&
           CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, trackRect, owner, id);
}

LRESULT CClickHSlider::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    const int width = trackRect_.right - trackRect_.left;
    const int height = trackRect_.bottom - trackRect_.top;
    if (!knob_.Create(std::move(knobPicture_), 0, 0, width, height, Hwnd(), id_, true)) {
        return -1;
    }
    knob_.SetRange(minimum_, maximum_);
    knob_.SetRounding(rounding_);
    knob_.SetPosition(0);
    knob_.SetDraggable(true);
    return 0;
}

void CClickHSlider::SetTrackImage(SkinPart track) {
    track_ = std::move(track);
    if (Hwnd()) {
        Invalidate();
    }
}

void CClickHSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    knob_.SetRange(minimum, maximum);
}

void CClickHSlider::SetRounding(bool on) {
    rounding_ = on;
    knob_.SetRounding(on);
}

void CClickHSlider::SetValue(int value) {
    knob_.SetPosition(value);
    if (Hwnd()) {
        Invalidate();
    }
}

LRESULT CClickHSlider::OnButtonDown(WPARAM, LPARAM) {
    pressed_ = true;
    return Default();
}

LRESULT CClickHSlider::OnButtonUp(WPARAM, LPARAM lParam) {
    // A release counts only after a press on the track itself.
    if (pressed_) {
        pressed_ = false;
        const int x = GET_X_LPARAM(lParam);
        double exact = 0;
        const int value = TrackValueOfClick(x, trackRect_.right - trackRect_.left, minimum_,
                                            maximum_, rounding_, &exact);
        TraceValue("CclickHSlider", exact);
        knob_.SetPosition(value);
        PostMessageW(owner_, kMsgSliderValue, static_cast<WPARAM>(value), id_);
    }
    return Default();
}

LRESULT CClickHSlider::OnKnobValue(WPARAM wParam, LPARAM) {
    PostMessageW(owner_, kMsgSliderValue, wParam, id_);
    return 0;
}

LRESULT CClickHSlider::OnPaint(WPARAM, LPARAM) {
    PaintDC dc(Hwnd());
    track_.Draw(dc.Get(), SkinState::kNormal);
    return 0;
}

}  // namespace t30
