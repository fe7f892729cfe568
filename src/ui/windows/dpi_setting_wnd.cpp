#include "ui/windows/dpi_setting_wnd.h"

#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"

namespace t30 {
namespace {

constexpr int kTitleFontHeight = 14;
constexpr COLORREF kCurrentTitle = RGB(255, 255, 255);
constexpr COLORREF kOtherTitle = RGB(110, 110, 110);

}  // namespace

const MessageMap* CDpiSettingWnd::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {
                                    OnMessage(WM_CREATE, &CDpiSettingWnd::OnCreate),
                                    OnMessage(WM_PAINT, &CDpiSettingWnd::OnPaint),
                                    OnMessage(WM_ERASEBKGND, &CDpiSettingWnd::OnEraseBackground),
                                    OnMessage(kMsgSliderValue, &CDpiSettingWnd::OnSliderValue),
                                }};
    return &map;
}

bool CDpiSettingWnd::Create(const RECT& rect, HWND parent) {
    parent_ = parent;
    return CreateEx(0, PlainWindowClass(L"T30DpiSettingWnd"), L"", WS_CHILD | WS_VISIBLE, rect,
                    parent, static_cast<UINT>(model_.WindowId()));
}

LRESULT CDpiSettingWnd::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    selector_.Create(layout_.selector, Hwnd());
    selector_.SetFont(15);
    selector_.SetTextLayout(CBitmapBtn::kLeft);
    selector_.SetCaption(L"");
    enableBox_.Create(layout_.enableBox, Hwnd());
    slider_.Create(App().skinFolder + L"scroll_arrow_down.bmp", layout_.slider, Hwnd(),
                   kDpiSliderId);
    value_.Create(layout_.value, Hwnd());
    slider_.SetRange(kDpiValueMin, kDpiValueMax);
    slider_.SetRounding(true);
    slider_.SetValue(model_.value());
    value_.SetLabelText(ToWide(model_.ValueText()));
    // Only the shape is kept; the mask picture goes once it is made.
    Bitmap mask;
    LoadSkinPicture(App().skinFolder + L"DPI_Window_Mask.bmp", mask);
    if (mask) {
        Region shape = MaskToRegion(mask.Get());
        if (shape && SetWindowRgn(Hwnd(), shape.Get(), TRUE)) {
            shape.Release();  // the system owns it now
        }
    }
    return 0;
}

void CDpiSettingWnd::SetImages(const SkinPart& part) {
    // A stage window has no disabled look of its own: it shows Normal.
    part_ = part.WithState(SkinState::kDisable, SkinState::kNormal);
    RemoveStyle(WS_BORDER | WS_TABSTOP);
    selector_.SetStateImages(part_.Inner(layout_.selector));
    enableBox_.SetStateImages(
        part_.Inner(layout_.enableBox).WithState(SkinState::kDisable, SkinState::kDown));
    selector_.SetCheck(false);
    enableBox_.SetCheckMode(true);
    slider_.SetTrackImage(part_.Inner(layout_.slider));
    Invalidate();
}

void CDpiSettingWnd::SetValue(int value) {
    model_.SetValue(value);
    slider_.SetValue(value);
    value_.SetLabelText(ToWide(model_.ValueText()));
}

void CDpiSettingWnd::SetEnabled(bool enabled) {
    model_.SetEnabled(enabled);
    enableBox_.SetCheck(enabled);
    ShowEnabled();
}

void CDpiSettingWnd::ShowEnabled() {
    EnableWindow(selector_.Hwnd(), model_.SelectorEnabled());
    EnableWindow(slider_.Hwnd(), model_.SliderEnabled());
    EnableWindow(value_.Hwnd(), model_.SliderEnabled());
    selector_.Invalidate();
}

void CDpiSettingWnd::SetCurrent(bool current) {
    model_.SetCurrent(current);
    selector_.SetCheck(model_.SelectorChecked());
    EnableWindow(enableBox_.Hwnd(), model_.EnableBoxEnabled());
    Invalidate();
}

bool CDpiSettingWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == selector_.Hwnd()) {
        PostToPage(model_.OnSelectorClicked());
    } else if (from != nullptr && from == enableBox_.Hwnd()) {
        PostToPage(model_.OnEnableBoxClicked(enableBox_.IsChecked()));
        ShowEnabled();
    }
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CDpiSettingWnd::OnSliderValue(WPARAM wParam, LPARAM lParam) {
    if (const auto message =
            model_.OnSliderMoved(static_cast<int>(wParam), static_cast<int>(lParam))) {
        value_.SetLabelText(ToWide(model_.ValueText()));
        PostToPage(*message);
    }
    return 0;
}

void CDpiSettingWnd::PostToPage(uint32_t wParam) {
    if (parent_ != nullptr) {
        PostMessageW(parent_, kMsgDpiStageChanged, wParam, model_.WindowId());
    }
}

LRESULT CDpiSettingWnd::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (!buffer.Ok()) {
        return 0;
    }
    part_.Draw(buffer.Dc(), model_.current() ? SkinState::kDown : SkinState::kNormal);
    Font font(MakeArialFont(kTitleFontHeight, FW_NORMAL));
    SelectGuard keepFont(buffer.Dc(), font.Get());
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), model_.current() ? kCurrentTitle : kOtherTitle);
    RECT title = layout_.title;
    DrawTextW(buffer.Dc(), title_.c_str(), -1, &title,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    buffer.Present();
    return 0;
}

}  // namespace t30
