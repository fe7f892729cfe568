// CDpiSettingWnd: the small skinned window of one DPI stage on the button page. It shows the
// stage's title, a selector that makes the stage current, a slider for the stage value and the
// value in DPI. The page pushes the stage's values in; the user's changes go back to the page as
// message 0x4C9 (kMsgDpiStageChanged), and only the page writes the profile.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "ui/controls/bitmap_btn.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_label.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/page_logic/dpi_stages.h"

namespace t30 {

class CDpiSettingWnd : public CWnd {
  public:
    // Where the parts sit, in window coordinates. The page gives it before creation.
    struct Layout {
        RECT selector{13, 11, 31, 29};
        RECT enableBox{0, 0, 0, 0};  // the box exists but cannot be seen or clicked
        RECT title{35, 0, 310, 14};
        RECT slider{35, 14, 300, 30};
        RECT value{309, 13, 347, 27};
    };

    CDpiSettingWnd() = default;
    void SetStage(int stage) { model_ = DpiStageModel(stage); }
    void SetLayout(const Layout& layout) { layout_ = layout; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }

    // A visible child of `parent` at `rect`; the window id is 500 + stage.
    bool Create(const RECT& rect, HWND parent);
    // The window's part of the page's state pictures; the selector, the enable box and the slider
    // get their parts of it.
    void SetImages(const SkinPart& part);

    // Pushed by the page; nothing is reported back.
    void SetValue(int value);
    void SetEnabled(bool enabled);
    void SetCurrent(bool current);

    const DpiStageModel& Model() const { return model_; }
    HWND SelectorHwnd() const { return selector_.Hwnd(); }
    HWND SliderHwnd() const { return slider_.Hwnd(); }
    const std::wstring& ValueText() const { return value_.LabelText(); }

  protected:
    const MessageMap* GetMessageMap() const override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    LRESULT OnSliderValue(WPARAM, LPARAM);
    void PostToPage(uint32_t wParam);
    void ShowEnabled();

    DpiStageModel model_;
    Layout layout_;
    std::wstring title_ = L"DPI SETTING#1";
    HWND parent_ = nullptr;
    SkinPart part_;
    CBitmapBtn selector_;
    CBitmapBtn enableBox_;
    CClickHSlider slider_;
    CTextLabel value_;
};

}  // namespace t30
