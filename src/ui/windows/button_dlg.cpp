#include "ui/windows/button_dlg.h"

#include <commdlg.h>

#include <memory>

#include "host/keyboard_hook_win32.h"
#include "keys/keyboard_layout_win32.h"
#include "string_ids.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"
#include "ui/windows/painted_text.h"
#include "ui/windows/select_macro_dlg.h"
#include "ui/windows/shortcut_dlg.h"
#include "ui/windows/warn_dlg.h"

namespace t30 {
namespace {

constexpr COLORREF kCaptionColour = RGB(230, 230, 230);
constexpr int kCaptionFontHeight = 16;
constexpr UINT kHighlightId = 100;
constexpr RECT kLightColourCaption{686, 125, 860, 145};

constexpr PaintedText kCaptions[] = {
    {IDS_BUTTON_PICTURE_TITLE, kCaptionFontHeight, {294, 40, 454, 57}, DT_CENTER},
    {IDS_REPORT_RATE_TITLE, kCaptionFontHeight, {522, 40, 658, 57}, DT_CENTER},
    {IDS_DPI_TITLE, kCaptionFontHeight, {522, 239, 658, 256}, DT_CENTER},
    {IDS_LIGHTING_TITLE, kCaptionFontHeight, {522, 109, 658, 129}, DT_CENTER},
    {IDS_LIGHT_MODE_LABEL, kCaptionFontHeight, {520, 130, 672, 150}, DT_LEFT},
    {IDS_LIGHT_LEVEL_LABEL, kCaptionFontHeight, {520, 176, 672, 196}, DT_LEFT},
};
constexpr PaintedText kLightColourText{IDS_LIGHT_COLOUR_LABEL, kCaptionFontHeight,
                                       kLightColourCaption, DT_LEFT};

std::u16string Text(uint16_t id) {
    return ToU16(LangString(id));
}

// The colour dialog's sixteen custom colours, kept for the whole run like the system's own.
COLORREF g_customColours[16] = {};

}  // namespace

CButtonDlg::CButtonDlg(ProfileStore& store, const MacroLibrary& library)
    : logic_(store, library),
      library_(library),
      layout_(ActiveKeyboardLayout()),
      capture_(ProcessKeyboardCapture()) {
    SetPaintedTexts(kCaptions, kCaptionColour);
    for (int k = 0; k < kDpiStageCount; ++k) {
        dpiStages_[static_cast<std::size_t>(k)].SetStage(k);
    }
}

const MessageMap* CButtonDlg::GetMessageMap() const {
    static const MessageMap map{CSkinnedPage::GetMessageMap(),
                                {
                                    OnMessage(kMsgButtonHover, &CButtonDlg::OnButtonHover),
                                    OnMessage(kMsgDpiStageChanged, &CButtonDlg::OnDpiStage),
                                    OnMessage(kMsgSliderValue, &CButtonDlg::OnSliderValue),
                                    OnMessage(WM_SYSCOMMAND, &CButtonDlg::OnSysCommand),
                                    OnMessage(WM_DESTROY, &CButtonDlg::OnDestroy),
                                    OnCommandRange(kFunctionCommandFirst, kFunctionCommandLast,
                                                   &CButtonDlg::OnFunctionCommand),
                                    OnCommandRange(kLightModeCommandFirst, kLightModeCommandLast,
                                                   &CButtonDlg::OnLightModeCommand),
                                    OnCommandRange(kLightLevelCommandFirst, kLightLevelCommandLast,
                                                   &CButtonDlg::OnLightLevelCommand),
                                }};
    return &map;
}

LRESULT CButtonDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The owner-drawn menus opened from this page measure and draw through their owner.
    if (message == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType == ODT_MENU && CExMenu::HandleMeasureItem(mis)) {
            return TRUE;
        }
    } else if (message == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType == ODT_MENU && CExMenu::HandleDrawItem(dis)) {
            return TRUE;
        }
    }
    return CSkinnedPage::WindowProc(message, wParam, lParam);
}

BOOL CButtonDlg::OnInitDialog() {
    std::vector<SkinControl> controls;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        CBitmapBtn& button = buttons_[i];
        const int notifyId = kButtonNotifyIdFirst + static_cast<int>(i);
        controls.push_back(
            SkinButton(static_cast<int>(i) + 1, button, [&button, notifyId](const SkinEntry&) {
                button.SetNotifyId(notifyId);
                button.SetTextLayout(CBitmapBtn::kLeftLower);
            }));
    }
    for (std::size_t k = 0; k < stageColours_.size(); ++k) {
        controls.push_back(SkinButton(30 + static_cast<int>(k), stageColours_[k]));
    }
    controls.push_back(SkinButton(67, restore_, [this](const SkinEntry&) {
        restore_.SetCaption(LangString(IDS_RESTORE_BUTTONS));
    }));
    for (std::size_t j = 0; j < reportRates_.size(); ++j) {
        controls.push_back(SkinButton(68 + static_cast<int>(j), reportRates_[j]));
    }
    for (int k = 0; k < kDpiStageCount; ++k) {
        controls.push_back(
            {72 + k, [this, k](const SkinEntry&, const RECT& r, const SkinPictures& p) {
                 CDpiSettingWnd& stage = dpiStages_[static_cast<std::size_t>(k)];
                 stage.SetLayout(CDpiSettingWnd::Layout{});
                 stage.SetTitle(LangString(DpiStageTitleId(k)));
                 stage.Create(r, Hwnd());
                 stage.SetImages(p.Part(r));
             }});
    }
    controls.push_back(SkinButton(
        87, lightMode_, [this](const SkinEntry&) { lightMode_.SetTextLayout(CBitmapBtn::kLeft); }));
    controls.push_back(SkinButton(88, lightLevel_, [this](const SkinEntry&) {
        lightLevel_.SetTextLayout(CBitmapBtn::kLeft);
    }));
    controls.push_back(SkinButton(90, lightColour_));
    controls.push_back(
        {105, [this](const SkinEntry&, const RECT& r, const SkinPictures&) { MakePicture(r); }});
    BuildSkin(L"skin_button_page.ini", u"Screen", controls);
    return TRUE;
}

void CButtonDlg::MakePicture(const RECT& r) {
    pictureRect_ = r;
    basePicture_ = StatePictures::FromFile(App().skinFolder + L"mouse.jpg");
}

void CButtonDlg::ShowHighlight(int index, bool show) {
    CLineWnd& picture = highlights_[static_cast<std::size_t>(index)];
    // Two dozen windows that nobody sees before pointing at a button: each is made the first
    // time it is shown, so building the page does not pay for them.
    if (picture.Hwnd() == nullptr) {
        if (!show || !basePicture_) {  // no picture entry in the skin: no highlights
            return;
        }
        const std::string file = ButtonPictureFile(index);
        picture.SetPicture(App().skinFolder + L"Mouse\\" + std::wstring(file.begin(), file.end()));
        picture.Create(pictureRect_, Hwnd(), kHighlightId);
        return;
    }
    ShowWindow(picture.Hwnd(), show ? SW_SHOW : SW_HIDE);
}

// --- showing the profile -------------------------------------------------------------------

void CButtonDlg::RedrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CButtonDlg::Refresh() {
    Relabel();
    ShowLightMode();
    ShowLightLevel();
    ShowReportRate();
    ShowColours();
    const ProfileRecord& profile = logic_.profile();
    for (int k = 0; k < kDpiStageCount; ++k) {
        CDpiSettingWnd& stage = dpiStages_[static_cast<std::size_t>(k)];
        stage.SetValue(profile.dpiValues[k]);
        stage.SetEnabled(profile.dpiStageEnabled[k] == 1);
    }
    ShowDpiCurrent();
}

void CButtonDlg::Relabel() {
    const auto labels = ButtonLabels(logic_.profile(), layout_, Text);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i].SetCaption(ToWide(labels[i]));
        RedrawNow(buttons_[i].Hwnd());
    }
}

void CButtonDlg::ShowLightMode() {
    const int mode = logic_.profile().lightMode;
    EnableWindow(lightColour_.Hwnd(), LightColourApplies(mode));
    InvalidateRect(Hwnd(), &kLightColourCaption, FALSE);
    lightMode_.SetCaption(ToWide(t30::LightModeCaption(mode, Text)));
    RedrawNow(lightMode_.Hwnd());
}

void CButtonDlg::ShowLightLevel() {
    lightLevel_.SetCaption(ToWide(t30::LightLevelCaption(logic_.profile(), Text)));
    RedrawNow(lightLevel_.Hwnd());
}

void CButtonDlg::ShowReportRate() {
    for (int j = 0; j < kReportRateCount; ++j) {
        CBitmapBtn& button = reportRates_[static_cast<std::size_t>(j)];
        button.SetCheck(logic_.profile().reportRate == j);
        button.Invalidate();
    }
}

void CButtonDlg::ShowColours() {
    const ProfileRecord& profile = logic_.profile();
    lightColour_.SetSwatchColour(profile.lightColour);
    lightColour_.Invalidate();
    for (int k = 0; k < kStageColourCount; ++k) {
        CBitmapCBtn& button = stageColours_[static_cast<std::size_t>(k)];
        button.SetSwatchColour(profile.stageColours[k]);
        button.Invalidate();
    }
}

void CButtonDlg::ShowDpiCurrent() {
    const int current = logic_.profile().dpiStage;
    for (int k = 0; k < kDpiStageCount; ++k) {
        dpiStages_[static_cast<std::size_t>(k)].SetCurrent(k == current);
    }
}

// --- input ---------------------------------------------------------------------------------

bool CButtonDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && OnControl(from)) {
        CSkinnedPage::OnCommand(wParam, lParam);
        return true;
    }
    return CSkinnedPage::OnCommand(wParam, lParam);
}

bool CButtonDlg::OnControl(HWND control) {
    if (control == restore_.Hwnd()) {
        logic_.RestoreDefaults();
        Relabel();
        return true;
    }
    if (control == lightMode_.Hwnd()) {
        OpenLightMenu(lightMode_, LightModeMenuItems());
        return true;
    }
    if (control == lightLevel_.Hwnd()) {
        OpenLightMenu(lightLevel_, LightLevelMenuItems(logic_.profile().lightMode));
        return true;
    }
    if (control == lightColour_.Hwnd()) {
        Colour colour = logic_.profile().lightColour;
        if (ChooseColour(colour)) {
            logic_.SetLightColour(colour);
            lightColour_.SetSwatchColour(colour);
            RedrawNow(lightColour_.Hwnd());
        }
        return true;
    }
    for (int i = 0; i < kButtonSlotCount; ++i) {
        if (control == buttons_[static_cast<std::size_t>(i)].Hwnd()) {
            OpenFunctionMenu(i);
            return true;
        }
    }
    for (int j = 0; j < kReportRateCount; ++j) {
        if (control == reportRates_[static_cast<std::size_t>(j)].Hwnd()) {
            logic_.ChooseReportRate(j);
            ShowReportRate();
            return true;
        }
    }
    for (int k = 0; k < kStageColourCount; ++k) {
        CBitmapCBtn& button = stageColours_[static_cast<std::size_t>(k)];
        if (control == button.Hwnd()) {
            Colour colour = logic_.profile().stageColours[k];
            if (ChooseColour(colour)) {
                logic_.SetStageColour(k, colour);
                button.SetSwatchColour(colour);
                RedrawNow(button.Hwnd());
            }
            return true;
        }
    }
    return false;
}

bool CButtonDlg::ChooseColour(Colour& colour) {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = Hwnd();
    choose.rgbResult = colour;
    choose.lpCustColors = g_customColours;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorW(&choose)) {
        return false;
    }
    colour = choose.rgbResult;
    return true;
}

void CButtonDlg::OpenFunctionMenu(int index) {
    if (!logic_.OpenFunctionMenu(index)) {
        return;
    }
    CBitmapBtn& button = buttons_[static_cast<std::size_t>(index)];
    {
        MenuFont font;
        CExMenu menu(font.Get());
        menu.CreatePopup();
        int width = kFunctionMenuMinWidth;
        for (const FunctionMenuItem& item : FunctionMenuItems(kMainMenu)) {
            const std::wstring text = LangString(item.textId);
            menu.AppendItem(item.commandId, text);
            width = MeasureMenuText(text, width);
        }
        std::vector<std::unique_ptr<CExMenu>> submenus;
        for (uint16_t title : kFunctionSubmenus) {
            auto submenu = std::make_unique<CExMenu>(font.Get());
            submenu->CreatePopup();
            for (const FunctionMenuItem& item : FunctionMenuItems(title)) {
                const std::wstring text = LangString(item.textId);
                submenu->AppendItem(item.commandId, text);
                width = MeasureMenuText(text, width);
            }
            submenu->SetItemWidth(width);
            const std::wstring text = LangString(title);
            // The entry carries the title's id: an id of 0 would make it a separator.
            menu.AppendItem(title, text, submenu->Handle());
            width = MeasureMenuText(text, width);
            submenus.push_back(std::move(submenu));
        }
        menu.SetItemWidth(width);
        TrackMenuUnder(button, menu.Handle());
    }
    AfterMenu(button);
}

void CButtonDlg::OpenLightMenu(CBitmapBtn& button, const std::vector<LightMenuItem>& items) {
    {
        MenuFont font;
        CExMenu menu(font.Get());
        menu.CreatePopup();
        for (const LightMenuItem& item : items) {
            menu.AppendItem(item.commandId, LangString(item.textId));
        }
        menu.SetItemWidth(kLightMenuItemWidth);
        TrackMenuUnder(button, menu.Handle());
    }
    AfterMenu(button);
}

void CButtonDlg::TrackMenuUnder(CBitmapBtn& button, HMENU menu) {
    RECT r;
    GetWindowRect(button.Hwnd(), &r);
    button.SetHover(true);  // lit, with its picture, while its menu is open
    TrackFramedMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, r.left + 1, r.bottom,
                    Hwnd());
}

HWND CButtonDlg::DialogOwner() const {
    // A modal dialog disables its owner; the page is a child, so the whole main window is.
    HWND root = GetAncestor(Hwnd(), GA_ROOT);
    return root != nullptr ? root : Hwnd();
}

void CButtonDlg::AfterMenu(CBitmapBtn& button) {
    button.SetHover(false);
    RedrawNow(button.Hwnd());
}

void CButtonDlg::OnFunctionCommand(UINT id, UINT, HWND) {
    const FunctionChoice choice = logic_.ChooseFunction(static_cast<int>(id));
    switch (choice.kind) {
        case FunctionChoiceKind::kIgnored:
            return;
        case FunctionChoiceKind::kRefused: {
            CWarnClickDlg warning;
            warning.Run(DialogOwner());
            return;
        }
        case FunctionChoiceKind::kMacro:
            RunMacroDialog(choice);
            return;
        case FunctionChoiceKind::kShortcut:
            RunShortcutDialog(choice);
            return;
        case FunctionChoiceKind::kAssigned:
            Relabel();
            return;
    }
}

void CButtonDlg::RunMacroDialog(const FunctionChoice& choice) {
    CSelectMacroDlg dialog(library_);
    dialog.SetPreset(logic_.MacroPreset(choice));
    if (dialog.Run(DialogOwner()) != IDOK) {
        return;
    }
    if (logic_.FinishMacro(choice, dialog.selection())) {
        Relabel();
    }
}

void CButtonDlg::RunShortcutDialog(const FunctionChoice& choice) {
    CShortCutDlg dialog(layout_, capture_);
    dialog.SetPreset(logic_.ShortcutPreset(choice, layout_));
    if (dialog.Run(DialogOwner()) != IDOK) {
        return;
    }
    if (logic_.FinishKeyCombination(choice, dialog.usage(), dialog.flags())) {
        Relabel();
    }
}

void CButtonDlg::OnLightModeCommand(UINT id, UINT, HWND) {
    logic_.ChooseLightMode(static_cast<int>(id));
    ShowLightMode();
    ShowLightLevel();
}

void CButtonDlg::OnLightLevelCommand(UINT id, UINT, HWND) {
    logic_.ChooseLightLevel(static_cast<int>(id));
    ShowLightLevel();
}

LRESULT CButtonDlg::OnButtonHover(WPARAM wParam, LPARAM lParam) {
    if (const auto index = HighlightForNotifyId(static_cast<int64_t>(lParam))) {
        ShowHighlight(*index, wParam != 0);
    }
    return 0;
}

LRESULT CButtonDlg::OnDpiStage(WPARAM wParam, LPARAM lParam) {
    if (logic_.OnDpiStageMessage(static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam)) ==
        DpiStageUpdate::kCurrentChanged) {
        ShowDpiCurrent();
    }
    return 0;
}

LRESULT CButtonDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    const WPARAM command = wParam & 0xFFF0;
    if (command == SC_MAXIMIZE || command == SC_MINIMIZE) {
        return 0;
    }
    return Default();
}

LRESULT CButtonDlg::OnDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CSkinnedPage::OnDestroy(wParam, lParam);
    basePicture_.reset();
    return result;
}

void CButtonDlg::PaintOver(HDC dc, const RECT&) {
    DrawBitmapAt(dc, basePicture_ ? basePicture_->Get(SkinState::kNormal) : nullptr,
                 pictureRect_.left, pictureRect_.top, pictureRect_.right - pictureRect_.left,
                 pictureRect_.bottom - pictureRect_.top);
    if (LightColourApplies(logic_.profile().lightMode)) {
        DrawPaintedText(dc, kLightColourText, kCaptionColour);
    }
}

// --- for checks ----------------------------------------------------------------------------

HWND CButtonDlg::AssignmentButton(int index) const {
    return index >= 0 && index < kButtonSlotCount ? buttons_[static_cast<std::size_t>(index)].Hwnd()
                                                  : nullptr;
}

std::wstring CButtonDlg::AssignmentCaption(int index) const {
    return index >= 0 && index < kButtonSlotCount
               ? buttons_[static_cast<std::size_t>(index)].Caption()
               : std::wstring();
}

bool CButtonDlg::HighlightVisible(int index) const {
    return index >= 0 && index < kButtonSlotCount &&
           IsWindowVisible(highlights_[static_cast<std::size_t>(index)].Hwnd());
}

const CDpiSettingWnd& CButtonDlg::DpiWindow(int stage) const {
    return dpiStages_[static_cast<std::size_t>(stage)];
}

HWND CButtonDlg::ReportRateButton(int rate) const {
    return rate >= 0 && rate < kReportRateCount
               ? reportRates_[static_cast<std::size_t>(rate)].Hwnd()
               : nullptr;
}

bool CButtonDlg::ReportRateChecked(int rate) const {
    return rate >= 0 && rate < kReportRateCount &&
           reportRates_[static_cast<std::size_t>(rate)].IsChecked();
}

}  // namespace t30
