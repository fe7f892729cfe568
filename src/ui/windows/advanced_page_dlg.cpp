#include "ui/windows/advanced_page_dlg.h"

#include <commdlg.h>

#include <array>
#include <cstdio>
#include <string>

#include "base/debug_output.h"
#include "base/fixed_string.h"
#include "base/wide_text.h"
#include "keys/keyboard_layout_win32.h"
#include "string_ids.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"
#include "ui/skin/skin_window_win32.h"
#include "ui/windows/file_dialogs.h"
#include "ui/windows/warn_dlg.h"

namespace t30 {
namespace {

constexpr const wchar_t* kSkinFile = L"skin_advance_setting.ini";
constexpr COLORREF kListBackground = RGB(0x1E, 0x1E, 0x1E);
constexpr COLORREF kListText = RGB(0xE6, 0xE6, 0xE6);
constexpr COLORREF kListSelection = RGB(0xB4, 0x14, 0x14);
constexpr COLORREF kSelectedText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kEditText = RGB(0, 0, 0);
constexpr COLORREF kEditBackground = RGB(0xE6, 0xE6, 0xE6);
constexpr COLORREF kLabelColour = RGB(0xE6, 0xE6, 0xE6);
constexpr int kLabelFontHeight = 15;
constexpr int kRepeatTextLimit = 3;
constexpr int kMainMenuMinWidth = 100, kMouseMenuMinWidth = 80, kButtonMenuMinWidth = 50;

constexpr PaintedText kLabels[] = {
    {IDS_POINTER_SPEED, kLabelFontHeight, {69, 42, 187, 72}, DT_CENTER},
    {IDS_WHEEL_LINES, kLabelFontHeight, {69, 179, 187, 209}, DT_CENTER},
    {IDS_DOUBLE_CLICK_SPEED, kLabelFontHeight, {69, 316, 187, 346}, DT_CENTER},
    {IDS_MACRO_EDITOR_TITLE, kLabelFontHeight, {462, 42, 596, 72}, DT_CENTER},
    {IDS_MACRO_LIST_TITLE, kLabelFontHeight, {449, 69, 570, 101}, DT_CENTER},
    {IDS_MACRO_EVENTS_TITLE, kLabelFontHeight, {572, 69, 692, 101}, DT_CENTER},
    {IDS_MACRO_RECORDING_TITLE, kLabelFontHeight, {694, 69, 828, 101}, DT_CENTER},
    {IDS_REPEAT_COUNT, kLabelFontHeight, {700, 172, 828, 192}, DT_LEFT},
};

// The mouse-button submenus of the event menu, in menu order.
constexpr std::array<UINT, 5> kMouseButtonTexts = {IDS_EV_LEFT_BUTTON, IDS_EV_RIGHT_BUTTON,
                                                   IDS_EV_MIDDLE_BUTTON, IDS_EV_FORWARD_BUTTON,
                                                   IDS_EV_BACK_BUTTON};
constexpr std::array<UINT, 3> kMouseStepTexts = {IDS_EV_PRESS, IDS_EV_RELEASE,
                                                 IDS_EV_PRESS_RELEASE};

FileDialogRequest MacroFileDialog(bool forOpening) {
    FileDialogRequest request;
    request.filter = forOpening ? L"Macro(*.macro)|*.MACRO|" : L"Macro(*.macro)|*.macro|";
    request.defaultExtension = L"*.macro";
    request.initialPath = App().appFolder + L"config\\.macro";
    request.options = forOpening ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
                                 : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return request;
}

}  // namespace

CSensitivityDlg::CSensitivityDlg(ProfileStore& store, MacroLibrary& library)
    : store_(store),
      library_(library),
      keys_(std::make_unique<KeyTableUsageMap>(ActiveKeyboardLayout())) {
    SetPaintedTexts(kLabels, kLabelColour);
}

CSensitivityDlg::~CSensitivityDlg() {
    // A recording still running keeps what it recorded and gives the keyboard back.
    if (logic_) {
        logic_->EndRecording();
    }
}

const MessageMap* CSensitivityDlg::GetMessageMap() const {
    static const MessageMap map{
        CSkinnedPage::GetMessageMap(),
        {
            OnMessage(WM_DESTROY, &CSensitivityDlg::OnDestroy),
            OnMessage(kMsgSliderValue, &CSensitivityDlg::OnSliderValue),
            OnMessage(kMsgSpinValue, &CSensitivityDlg::OnSpinValue),
            OnMessage(kMsgListNewRowCommitted, &CSensitivityDlg::OnNewRowCommitted),
            OnMessage(kMsgListRowRenamed, &CSensitivityDlg::OnRowRenamed),
            OnMessage(kMsgListRightButton, &CSensitivityDlg::OnListRightButton),
            OnMessage(kMsgHookKey, &CSensitivityDlg::OnHookKey),
            OnMessage(BmpEditChangedMessage(), &CSensitivityDlg::OnRepeatChanged),
        }};
    return &map;
}

// Owner-drawn menu items are the event menu's; everything else owner-drawn is a control's and is
// reflected to it as usual.
LRESULT CSensitivityDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MEASUREITEM &&
        CExMenu::HandleMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        return TRUE;
    }
    if (message == WM_DRAWITEM &&
        CExMenu::HandleDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        return TRUE;
    }
    return CSkinnedPage::WindowProc(message, wParam, lParam);
}

BOOL CSensitivityDlg::OnInitDialog() {
    // The application folder is known once the main window has started, before its pages.
    AdvancedPageView& view = *this;
    logic_ = std::make_unique<AdvancedPageLogic>(
        store_, library_, std::filesystem::path(App().appFolder), view, ProcessKeyboardCapture(),
        clock_, *keys_, ActiveKeyboardLayout());
    Build();
    Initialise();
    return TRUE;
}

SkinControl CSensitivityDlg::SkinSpin(int key, CSpinWnd& control, UINT id) {
    return {key, [&control, id, this](const SkinEntry&, const RECT& r, const SkinPictures& p) {
                if (control.Create(r, Hwnd(), id)) {
                    control.SetStateImages(p.Part(r));
                }
            }};
}

SkinControl CSensitivityDlg::SkinPageButton(int key, CBitmapBtn& control, UINT caption, int layout,
                                            bool checkMode) {
    return SkinButton(key, control, [&control, caption, layout, checkMode](const SkinEntry&) {
        control.SetTextLayout(layout);
        control.SetCheckMode(checkMode);
        if (caption != 0) {
            control.SetCaption(LangString(caption, kLangLongTextCapacity));
        }
    });
}

void CSensitivityDlg::Build() {
    const std::wstring knob = App().skinFolder + L"scroll_arrow_down.bmp";
    auto slider = [&](CClickHSlider& control, UINT id) {
        return [&control, id, knob, this](const SkinEntry&, const RECT& r, const SkinPictures& p) {
            if (control.Create(knob, r, Hwnd(), id)) {
                control.SetTrackImage(p.Part(r));
            }
        };
    };
    auto list = [&](CListBoxEx& control, UINT id) {
        return [&control, id, this](const SkinEntry&, const RECT& r, const SkinPictures&) {
            control.SetListId(int(id));
            control.SetEditable(true);
            // The page owns the list for good: its focus moving elsewhere must not close it.
            control.SetKeepOwner(true);
            control.Create(WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, r, Hwnd(), id);
        };
    };
    const std::vector<SkinControl> controls = {
        {1, slider(speedSlider_, kSliderPointerSpeed)},
        SkinSpin(3, speedSpin_, kSpinPointerSpeed),
        {4, slider(wheelSlider_, kSliderWheelLines)},
        SkinSpin(6, wheelSpin_, kSpinWheelLines),
        {7, slider(doubleClickSlider_, kSliderDoubleClick)},
        SkinSpin(8, doubleClickSpin_, kSpinDoubleClick),
        SkinPageButton(2, precision_, IDS_ENHANCE_PRECISION, CBitmapBtn::kWrapped22, true),
        SkinPageButton(5, pageScroll_, IDS_WHEEL_PAGE_SCROLL, CBitmapBtn::kWrapped22, true),
        SkinPageButton(9, defaults_, IDS_RESTORE_DEFAULTS, CBitmapBtn::kCentred, false),
        SkinPageButton(10, new_, IDS_NEW_MACRO, CBitmapBtn::kCentred, false),
        SkinPageButton(11, delete_, IDS_DELETE_MACRO, CBitmapBtn::kCentred, false),
        SkinPageButton(20, import_, IDS_IMPORT, CBitmapBtn::kCentred, false),
        SkinPageButton(21, export_, IDS_EXPORT, CBitmapBtn::kCentred, false),
        SkinPageButton(12, spare_, 0, CBitmapBtn::kCentred, false),
        SkinPageButton(15, record_, IDS_RECORD, CBitmapBtn::kWrapped35, false),
        SkinPageButton(16, stop_, IDS_STOP, CBitmapBtn::kWrapped35, false),
        {17,
         [this](const SkinEntry&, const RECT& r, const SkinPictures&) {
             repeat_.SetNumericFilter(true);
             repeat_.Create(WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, r, Hwnd(),
                            kRepeatEditId);
         }},
        {13, list(macroList_, kMacroListId)},
        {14, list(eventList_, kEventsListId)},
        SkinPageButton(19, recordDelays_, IDS_RECORD_DELAYS, CBitmapBtn::kWrapped22, true),
    };
    BuildSkin(kSkinFile, u"SCREEN", controls);
}

void CSensitivityDlg::Initialise() {
    wheelSlider_.SetRange(1, 11);
    speedSlider_.SetRange(1, 11);
    doubleClickSlider_.SetRange(0, 10);
    wheelSpin_.SetRange(1, 11);
    speedSpin_.SetRange(1, 11);
    doubleClickSpin_.SetRange(0, 10);

    for (CListBoxEx* list : {&macroList_, &eventList_}) {
        list->SetColours(kListBackground, kListSelection);
        list->SetTextColours(kListText, kSelectedText);
    }
    repeat_.SetTextColour(kEditText);
    repeat_.SetBackgroundColour(kEditBackground);
    repeat_.ApplyFont();
    SendMessageW(repeat_.Hwnd(), EM_LIMITTEXT, kRepeatTextLimit, 0);
    logic_->RefreshMacroList();
}

void CSensitivityDlg::RefreshFromProfile() {
    if (logic_) {
        logic_->RefreshFromProfile();
    }
}

void CSensitivityDlg::RefreshMacroList() {
    if (logic_) {
        logic_->RefreshMacroList();
    }
}

// ---- Messages

void CSensitivityDlg::EndRecording() {
    if (logic_) {
        logic_->EndRecording();
    }
}

LRESULT CSensitivityDlg::OnDestroy(WPARAM wParam, LPARAM lParam) {
    EndRecording();
    return CSkinnedPage::OnDestroy(wParam, lParam);
}

bool CSensitivityDlg::PreTranslateMessage(MSG& msg) {
    // Enter and Escape close neither the page nor the main window.
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

bool CSensitivityDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (from == nullptr) {
        if (id >= kFirstEventCommand && id <= kLastEventCommand) {
            logic_->OnMenuCommand(int(id), eventList_.SelectedRow());
            return true;
        }
        return CSkinnedPage::OnCommand(wParam, lParam);
    }
    if (from == macroList_.Hwnd()) {
        if (code == LBN_SELCHANGE) {
            logic_->OnMacroSelectionChanged(macroList_.SelectedRow());
        }
    } else if (from == eventList_.Hwnd()) {
        if (code == LBN_SELCHANGE) {
            logic_->OnEventSelectionChanged(eventList_.SelectedRow());
        }
    } else if (from == precision_.Hwnd()) {
        logic_->OnPrecisionClicked(precision_.IsChecked());
    } else if (from == pageScroll_.Hwnd()) {
        logic_->OnPageScrollClicked(pageScroll_.IsChecked());
    } else if (from == new_.Hwnd()) {
        StartNewMacro();
    } else if (from == delete_.Hwnd()) {
        logic_->OnDeleteClicked(macroList_.SelectedRow());
    } else if (from == import_.Hwnd()) {
        ImportMacro();
    } else if (from == export_.Hwnd()) {
        ExportMacro();
    } else if (from == record_.Hwnd()) {
        logic_->OnRecordClicked();
    } else if (from == stop_.Hwnd()) {
        logic_->OnStopClicked();
    } else if (from == recordDelays_.Hwnd()) {
        logic_->OnRecordDelaysClicked(recordDelays_.IsChecked());
    }
    return CSkinnedPage::OnCommand(wParam, lParam);
}

LRESULT CSensitivityDlg::OnSliderValue(WPARAM wParam, LPARAM lParam) {
    logic_->OnSlider(int(lParam), int(wParam));
    return 0;
}

LRESULT CSensitivityDlg::OnSpinValue(WPARAM wParam, LPARAM lParam) {
    char line[32];
    std::snprintf(line, sizeof line, "lParam = %d\n", int(lParam));
    PlatformDebugOutput().Write(Widen(line));
    logic_->OnSpin(int(lParam), int(wParam));
    return 0;
}

LRESULT CSensitivityDlg::OnNewRowCommitted(WPARAM wParam, LPARAM lParam) {
    if (lParam == kMacroListId) {
        logic_->OnNewMacroCommitted(int(wParam), ToU16(macroList_.RowText(int(wParam))));
    } else if (lParam == kEventsListId) {
        logic_->OnPauseEdited(int(wParam), ToU16(eventList_.RowText(int(wParam))));
    }
    return 0;
}

LRESULT CSensitivityDlg::OnRowRenamed(WPARAM wParam, LPARAM lParam) {
    if (lParam == kMacroListId) {
        logic_->OnMacroRenamed(int(wParam), ToU16(macroList_.RowText(int(wParam))));
    } else if (lParam == kEventsListId) {
        logic_->OnPauseEdited(int(wParam), ToU16(eventList_.RowText(int(wParam))));
    }
    return 0;
}

LRESULT CSensitivityDlg::OnListRightButton(WPARAM, LPARAM lParam) {
    if (lParam != kEventsListId) {
        return 0;
    }
    if (!logic_->MenuAllowed()) {
        return -1;
    }
    ShowEventMenu();
    return 0;
}

LRESULT CSensitivityDlg::OnHookKey(WPARAM wParam, LPARAM lParam) {
    // The main window went away (Cancel, close, the mouse unplugged) while recording: the
    // keyboard goes back to the user instead of staying captured by a page nobody sees.
    if (!IsWindowVisible(Hwnd())) {
        logic_->EndRecording();
        return 0;
    }
    return logic_->OnHookKey(uint32_t(wParam), uint32_t(lParam));
}

// Switching to the other page ends a recording: keys typed there are not meant for the macro.
void CSensitivityDlg::OnHidePage() {
    if (logic_) {
        logic_->EndRecording();
    }
}

LRESULT CSensitivityDlg::OnRepeatChanged(WPARAM, LPARAM) {
    logic_->OnRepeatTextChanged(ToU16(repeat_.Text()));
    return 0;
}

// ---- Commands

void CSensitivityDlg::StartNewMacro() {
    const int count = macroList_.RowCount();
    SendMessageW(macroList_.Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(count > 0 ? count - 1 : 0),
                 0);
    if (!macroList_.StartNewRow()) {
        return;
    }
    // Bring the new line to the top and keep its editor on it.
    const int row = macroList_.EditRow();
    SendMessageW(macroList_.Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    RECT rect{};
    if (SendMessageW(macroList_.Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
        MoveWindow(macroList_.EditWindow(), rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, TRUE);
    }
}

void CSensitivityDlg::ImportMacro() {
    if (const auto path = AskOpenFile(Hwnd(), MacroFileDialog(true))) {
        const std::filesystem::path file(*path);
        if (!logic_->ImportFrom(file)) {
            ShowWarning(Hwnd(), FillIn(IDS_WARN_NOT_A_MACRO_FILE, {file.filename().wstring()}));
        }
    }
}

void CSensitivityDlg::ExportMacro() {
    if (!logic_->CanExport()) {
        return;
    }
    if (const auto path = AskSaveFile(Hwnd(), MacroFileDialog(false))) {
        const std::filesystem::path file(*path);
        if (!logic_->ExportTo(file)) {
            ShowWarning(Hwnd(), FillIn(IDS_WARN_FILE_NOT_WRITTEN,
                                       {file.filename().wstring(), WriteFailureReason(file)}));
        }
    }
}

// Ids of the submenu entries, from the commands that do nothing: ids 0 and 1 would be measured
// as the menu's spacer and invisible item, which left the entries a few pixels high.
constexpr UINT kSubMenuMouseButton = 1006;
constexpr UINT kSubMenuFirstButton = 1007;

void CSensitivityDlg::ShowEventMenu() {
    MenuFont font;
    lastMenuTexts_.clear();
    auto text = [this](UINT id) {
        lastMenuTexts_.push_back(LangString(id));
        return lastMenuTexts_.back();
    };
    // Submenus first: each menu gives its own sub-menus back before it is destroyed.
    std::array<std::unique_ptr<CExMenu>, kMouseButtonTexts.size()> buttons;
    CExMenu mouse(font.Get());
    CExMenu menu(font.Get());
    if (!menu.CreatePopup() || !mouse.CreatePopup()) {
        return;
    }
    std::vector<std::pair<UINT, std::wstring>> mainItems = {
        {kCmdRecordBefore, text(IDS_EV_RECORD_BEFORE)},
        {kCmdRecordAfter, text(IDS_EV_RECORD_AFTER)},
        {kCmdInsertPause, text(IDS_EV_INSERT_PAUSE)},
        {kSubMenuMouseButton, text(IDS_EV_MOUSE_BUTTON)},
        {kCmdEditPause, text(IDS_EV_EDIT_PAUSE)},
        {kCmdDeleteStep, text(IDS_EV_DELETE)},
    };
    int mouseWidth = kMouseMenuMinWidth;
    for (std::size_t b = 0; b < buttons.size(); ++b) {
        buttons[b] = std::make_unique<CExMenu>(font.Get());
        if (!buttons[b]->CreatePopup()) {
            return;
        }
        int width = kButtonMenuMinWidth;
        for (std::size_t s = 0; s < kMouseStepTexts.size(); ++s) {
            const std::wstring item = text(kMouseStepTexts[s]);
            buttons[b]->AppendItem(UINT(kCmdFirstMouseStep + 3 * b + s), item);
            width = MeasureMenuText(item, width);
        }
        buttons[b]->SetItemWidth(width);
        const std::wstring title = text(kMouseButtonTexts[b]);
        mouse.AppendItem(UINT(kSubMenuFirstButton + b), title, buttons[b]->Handle());
        mouseWidth = MeasureMenuText(title, mouseWidth);
    }
    mouse.SetItemWidth(mouseWidth);
    int width = kMainMenuMinWidth;
    for (const auto& [command, item] : mainItems) {
        menu.AppendItem(command, item, command == kSubMenuMouseButton ? mouse.Handle() : nullptr);
        width = MeasureMenuText(item, width);
    }
    menu.SetItemWidth(width);

    POINT cursor;
    GetCursorPos(&cursor);
    TrackFramedMenu(menu.Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, Hwnd());
}

// ---- AdvancedPageView

void CSensitivityDlg::SetSlider(int sliderId, int value) {
    switch (sliderId) {
        case kSliderPointerSpeed:
            speedSlider_.SetValue(value);
            break;
        case kSliderWheelLines:
            wheelSlider_.SetValue(value);
            break;
        case kSliderDoubleClick:
            doubleClickSlider_.SetValue(value);
            break;
        default:
            break;
    }
}

void CSensitivityDlg::SetSpin(int spinId, int value) {
    switch (spinId) {
        case kSpinPointerSpeed:
            speedSpin_.SetValue(value);
            break;
        case kSpinWheelLines:
            wheelSpin_.SetValue(value);
            break;
        case kSpinDoubleClick:
            doubleClickSpin_.SetValue(value);
            break;
        default:
            break;
    }
}

void CSensitivityDlg::EnableWheelSlider(bool enabled) {
    EnableWindow(wheelSlider_.Hwnd(), enabled);
    EnableWindow(wheelSlider_.Knob().Hwnd(), enabled);
    wheelSlider_.Invalidate();
}

void CSensitivityDlg::SetMacroLines(const std::vector<std::u16string>& names) {
    SendMessageW(macroList_.Hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::u16string& name : names) {
        macroList_.AddRow(0, ToWide(name));
    }
}

void CSensitivityDlg::AppendMacroLine(const std::u16string& name) {
    const int count = macroList_.RowCount();
    SendMessageW(macroList_.Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(count > 0 ? count - 1 : 0),
                 0);
    const int row = macroList_.AddRow(0, ToWide(name));
    if (row >= 0) {
        SendMessageW(macroList_.Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    }
}

void CSensitivityDlg::SetEventLines(const std::vector<EventLine>& lines, int caretLine) {
    const HWND list = eventList_.Hwnd();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const EventLine& line : lines) {
        eventList_.AddRow(line.value, ToWide(line.text));
    }
    if (caretLine >= 0) {
        SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(caretLine), FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CSensitivityDlg::ReplaceEventLine(int line, const EventLine& content) {
    eventList_.DeleteRow(line);
    eventList_.InsertRow(line, content.value, ToWide(content.text));
    eventList_.SelectRow(line);
}

void CSensitivityDlg::OpenPauseEditor(int line) {
    eventList_.SelectRow(line);
    eventList_.StartRename();
}

void CSensitivityDlg::SetRepeatText(const std::u16string& text) {
    const std::wstring wide = ToWide(text);
    if (repeat_.Text() == wide) {
        // The field tells of changes only; the value it shows must still reach the macro.
        PostMessageW(Hwnd(), BmpEditChangedMessage(), 0, 0);
        return;
    }
    SetWindowTextW(repeat_.Hwnd(), wide.c_str());
}

void CSensitivityDlg::ShowRecordPressed(bool pressed) {
    record_.SetCheck(pressed);
}

void CSensitivityDlg::EnableForRecording(bool idle) {
    for (HWND control : {spare_.Hwnd(), new_.Hwnd(), delete_.Hwnd(), macroList_.Hwnd()}) {
        EnableWindow(control, idle);
        InvalidateRect(control, nullptr, FALSE);
    }
    if (idle) {
        EnableWindow(eventList_.Hwnd(), TRUE);
    } else {
        SetFocus(Hwnd());
    }
}

void CSensitivityDlg::WarnNoMacro() {
    CWarnMacroSet warning;
    warning.Run(Hwnd());
}

void CSensitivityDlg::WarnLocked() {
    CWarnDlg warning(LangString(IDS_WARN_MACRO_LOCKED));
    warning.Run(Hwnd());
}

bool CSensitivityDlg::ConfirmDelete() {
    CDeleteMacroWarn confirm;
    return confirm.Run(Hwnd()) == kWarnOk;
}

void CSensitivityDlg::MacrosDeleted() {
    if (macrosDeleted_) {
        macrosDeleted_();
    }
}

}  // namespace t30
