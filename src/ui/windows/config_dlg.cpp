#include "ui/windows/config_dlg.h"

#include <shellapi.h>

#include "device/driver_library_win32.h"
#include "host/foreground_program_win32.h"
#include "profile/settings_file.h"
#include "string_ids.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_file.h"
#include "ui/skin/skin_win32.h"
#include "ui/windows/file_dialogs.h"
#include "ui/windows/resource_ids.h"

namespace t30 {
namespace {

constexpr UINT kTrayIconId = 102;
constexpr UINT kSwitchPeriodMs = 2000;
constexpr UINT kNoMouseDelayMs = 100;
constexpr int kTabFontHeight = 18;

void RedrawNow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace

CConfigDlg::CConfigDlg(ProfileStore& store, MacroLibrary& library)
    : store_(store), library_(library) {
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN));
}

CConfigDlg::~CConfigDlg() {
    Shutdown();
}

const MessageMap* CConfigDlg::GetMessageMap() const {
    static const MessageMap map{
        CSkinnedWindow::GetMessageMap(),
        {
            OnMessage(WM_PAINT, &CConfigDlg::OnPaint),
            OnMessage(WM_SYSCOMMAND, &CConfigDlg::OnSysCommand),
            OnMessage(WM_QUERYDRAGICON, &CConfigDlg::OnQueryDragIcon),
            OnMessage(WM_TIMER, &CConfigDlg::OnTimer),
            OnMessage(WM_DESTROY, &CConfigDlg::OnDestroy),
            OnMessage(kMsgTrayIcon, &CConfigDlg::OnTrayIcon),
            OnMessage(kMsgShowMainWindow, &CConfigDlg::OnShowRequest),
            OnMessage(kMsgSendPassDone, &CConfigDlg::OnSendPassDone),
            OnMessage(kMsgTellUser, &CConfigDlg::OnTellUser),
            OnMessage(kMsgTellDamage, &CConfigDlg::OnTellDamage),
            OnMessage(WM_WINDOWPOSCHANGING, &CConfigDlg::OnWindowPosChanging),
            OnMessage(WM_WINDOWPOSCHANGED, &CConfigDlg::OnWindowPosChanged),
            OnMessage(kMsgFirstLibraryEvent, &CConfigDlg::OnDeviceMessage<kMsgFirstLibraryEvent>),
            OnMessage(kMsgFirstLibraryStatus, &CConfigDlg::OnDeviceMessage<kMsgFirstLibraryStatus>),
            OnMessage(kMsgSecondLibraryEvent, &CConfigDlg::OnDeviceMessage<kMsgSecondLibraryEvent>),
            OnMessage(kMsgSecondLibraryStatus,
                      &CConfigDlg::OnDeviceMessage<kMsgSecondLibraryStatus>),
        }};
    return &map;
}

BOOL CConfigDlg::OnInitDialog() {
    SetWindowLongPtrW(Hwnd(), GWL_STYLE,
                      GetWindowLongPtrW(Hwnd(), GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
    InitAppFolders();
    LoadLanguageLibrary();
    Build();
    damage_ = FindDamage();
    unusable_ = skin_.size.cx <= 0 || skin_.size.cy <= 0;
    if (!damage_.empty()) {
        PostMessageW(Hwnd(), kMsgTellDamage, 0, 0);
    }
    Initialise();
    // The advanced page is hidden at start and costs as much again as the page that shows, so
    // it is built once the window has been painted (or at once when it is asked for earlier);
    // the menu-frame hook, which costs a little on every window made, and the notification icon
    // go in then too.
    SetTimer(Hwnd(), kTimerFinishStart, 50, nullptr);
    return TRUE;
}

void CConfigDlg::Build() {
    auto captioned = [&](int key, CBitmapBtn& button, UINT caption) {
        return SkinButton(key, button, [&button, caption](const SkinEntry&) {
            button.SetCaption(LangString(caption, kLangLongTextCapacity));
        });
    };
    std::vector<SkinControl> controls = {
        SkinRegionButton(1, basicTab_, L"basic_mask.bmp", IDS_TAB_BASIC, kTabFontHeight),
        SkinRegionButton(2, advancedTab_, L"advanced_mask.bmp", IDS_TAB_ADVANCED, kTabFontHeight),
        SkinRegionButton(3, ok_, L"ok_mask.bmp", IDS_OK),
        SkinRegionButton(5, apply_, L"ok_mask.bmp", IDS_APPLY),
        SkinRegionButton(4, cancel_, L"cancel_mask.bmp", IDS_CANCEL),
        SkinButton(6, minimise_),
        SkinButton(7, close_),
        SkinButton(8, spare_),
    };
    for (int i = 0; i < kProfileCount; ++i) {
        controls.push_back(captioned(10 + i, profileButtons_[i], IDS_PROFILE_1 + i));
    }
    controls.push_back(captioned(15, restore_, IDS_RESTORE_DEFAULTS));
    controls.push_back(captioned(16, import_, IDS_IMPORT));
    controls.push_back(captioned(17, export_, IDS_EXPORT));
    controls.push_back({18, [this](const SkinEntry&, const RECT& r, const SkinPictures&) {
                            programLabel_.Create(r, Hwnd());
                        }});
    controls.push_back(SkinButton(19, browse_));
    controls.push_back(SkinButton(20, clearProgram_));
    controls.push_back(
        {9, [this](const SkinEntry&, const RECT& r, const SkinPictures&) { pageRect_ = r; }});
    BuildSkin(L"skin_main.ini", u"SCREEN", controls);

    basicPage_.Create(Hwnd(), pageRect_);
    advancedPage_.SetMacrosDeletedHandler([this] { basicPage_.Refresh(); });
    basicTab_.SetChecked(true);
    ShowWindow(basicPage_.Hwnd(), SW_SHOW);
    currentPage_ = 0;
}

void CConfigDlg::Initialise() {
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    App().mainWindow = Hwnd();
    SetWindowTextW(Hwnd(), Title().c_str());
    // Adding the notification icon waits for the shell's tray to answer (tens of milliseconds
    // under Wine): it goes in once the window has been painted (FinishStart), unless a removal
    // of the mouse asks to take it away first.
    trayIconDue_ = true;

    const std::filesystem::path appFolder(App().appFolder);
    const SettingsLoad load = loadSettings(store_.applied(), appFolder);
    if (load.AnyReset()) {
        std::wstring profiles;
        for (int p = 0; p < kProfileCount; ++p) {
            if (load.reset[static_cast<std::size_t>(p)]) {
                profiles += (profiles.empty() ? L"" : L", ") + std::to_wstring(p + 1);
            }
        }
        Tell(load.keptAs.empty()
                 ? FillIn(IDS_WARN_PROFILES_RESET_NOT_KEPT,
                          {profiles, SettingsFilePath(appFolder).wstring()})
                 : FillIn(IDS_WARN_PROFILES_RESET, {profiles, load.keptAs.filename().wstring()}));
    }
    Win32Registry registry;
    readPointerSettings(
        store_.applied().profiles[SanitizedProfileIndex(store_.applied().currentIndex)], registry);
    LoadMacroLibrary(library_, appFolder);
    pipeline_.RequestFullApply();
    store_.CopyAppliedToEdited();
    Refresh();

    worker_.Start(Hwnd());
    link_.Bind(LibraryId::kFirst, LoadDriverLibrary(App().appFolder, LibraryId::kFirst));
    link_.Bind(LibraryId::kSecond, LoadDriverLibrary(App().appFolder, LibraryId::kSecond));
    monitor_.Start(reinterpret_cast<uintptr_t>(Hwnd()));
}

void CConfigDlg::Shutdown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    skin_.Reset();
    // The page's windows go after this one's, so a recording in progress is ended and saved
    // here, while the library still holds its macro.
    advancedPage_.EndRecording();
    library_.Clear();
    if (Hwnd() != nullptr) {
        KillTimer(Hwnd(), kTimerSwitch);
    }
    // Pending passes go out before the worker ends.
    worker_.Stop();
    monitor_.Stop();
    link_.Unbind();
    DeleteTrayIcon();
    App().language.Reset();
}

LRESULT CConfigDlg::OnDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CSkinnedWindow::OnDestroy(wParam, lParam);
    Shutdown();
    return result;
}

bool CConfigDlg::PreTranslateMessage(MSG& msg) {
    // Enter and Escape never end the main window.
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

bool CConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const UINT id = LOWORD(wParam);
    if (from == nullptr) {
        if (id == kCmdTrayOpen) {
            Open();
            return true;
        }
        if (id == kCmdTrayExit) {
            PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
            return true;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    if (from == basicTab_.Hwnd()) {
        ShowPage(0);
    } else if (from == advancedTab_.Hwnd()) {
        ShowPage(1);
    } else if (from == ok_.Hwnd()) {
        Apply();
        PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
    } else if (from == apply_.Hwnd()) {
        Apply();
    } else if (from == cancel_.Hwnd() || from == close_.Hwnd()) {
        ShowWindow(Hwnd(), SW_HIDE);
    } else if (from == minimise_.Hwnd()) {
        ShowWindow(Hwnd(), SW_MINIMIZE);
    } else if (from == restore_.Hwnd()) {
        RestoreDefaults();
    } else if (from == import_.Hwnd()) {
        ImportProfile();
    } else if (from == export_.Hwnd()) {
        ExportProfile();
    } else if (from == browse_.Hwnd()) {
        ChooseProgram();
    } else if (from == clearProgram_.Hwnd()) {
        ClearProgram();
    } else {
        for (int i = 0; i < kProfileCount; ++i) {
            if (from == profileButtons_[i].Hwnd()) {
                store_.SetCurrentIndex(i);
                Refresh();
            }
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CConfigDlg::ShowPage(int index) {
    basicTab_.SetChecked(index == 0);
    advancedTab_.SetChecked(index == 1);
    basicTab_.Invalidate();
    advancedTab_.Invalidate();
    if (index == 1) {
        EnsureAdvancedPage();
    }
    if (currentPage_ != index) {
        ShowWindow(index == 0 ? advancedPage_.Hwnd() : basicPage_.Hwnd(), SW_HIDE);
        ShowWindow(index == 0 ? basicPage_.Hwnd() : advancedPage_.Hwnd(), SW_SHOW);
        currentPage_ = index;
    }
}

void CConfigDlg::FinishStart() {
    KillTimer(Hwnd(), kTimerFinishStart);
    AddTrayIconIfDue();
    InstallMenuFrameHook();
    EnsureAdvancedPage();
    if (currentPage_ != 1) {
        // Built hidden: its background was decoded only for its size.
        advancedPage_.ReleasePictures();
    }
}

void CConfigDlg::EnsureAdvancedPage() {
    if (advancedPage_.Hwnd() != nullptr || shutDown_) {
        return;
    }
    // Creating a dialog hands the keyboard to its first field, here a field of a page nobody
    // sees yet: the keyboard stays where it was.
    const HWND focus = GetFocus();
    advancedPage_.Create(Hwnd(), pageRect_);
    if (GetFocus() != focus) {
        SetFocus(focus);
    }
    // Whatever changed since the start (a profile switch, an import) is shown from here on.
    advancedPage_.RefreshFromProfile();
}

void CConfigDlg::Refresh() {
    const int current = store_.CurrentIndex();
    for (int i = 0; i < kProfileCount; ++i) {
        profileButtons_[i].SetCheck(i == current);
    }
    SetProgramLabel();
    basicPage_.Refresh();
    advancedPage_.RefreshFromProfile();
}

std::wstring CConfigDlg::Title() const {
    // Without a language library every text is empty, but a second start must still find this
    // window, and the notification icon should still say whose it is.
    std::wstring title = LangString(IDS_APP_TITLE);
    return title.empty() ? kMainWindowTitle : title;
}

void CConfigDlg::SetProgramLabel() {
    programLabel_.SetLabelText(ToWide(ProgramLabel(store_.current())));
}

void CConfigDlg::RestoreDefaults() {
    CWarnDlg confirm(LangString(IDS_WARN_RESET_PROFILES));
    if (confirm.Run(Hwnd()) != kWarnOk) {
        return;
    }
    makeDefaults(store_.edited());
    Refresh();
    pipeline_.RequestFullApply();
    Apply();
}

void CConfigDlg::ImportProfile() {
    const auto path = AskOpenFile(Hwnd(), ProfileFileDialog(App().appFolder, true));
    if (!path) {
        return;
    }
    const std::filesystem::path file(*path);
    const ProfileImport result = importProfile(store_.current(), file);
    if (result == ProfileImport::kNotAProfile) {
        ShowWarning(Hwnd(), FillIn(IDS_WARN_NOT_A_PROFILE, {file.filename().wstring()}));
    }
    if (result != ProfileImport::kImported) {
        return;
    }
    pipeline_.RequestFullApply();
    Refresh();
    SyncLibraryFromSlots(library_, store_.edited());
    advancedPage_.RefreshMacroList();
}

void CConfigDlg::ExportProfile() {
    if (const auto path = AskSaveFile(Hwnd(), ProfileFileDialog(App().appFolder, false))) {
        const std::filesystem::path file(*path);
        if (!exportProfile(store_.current(), file)) {
            ShowWarning(Hwnd(), FillIn(IDS_WARN_FILE_NOT_WRITTEN,
                                       {file.filename().wstring(), WriteFailureReason(file)}));
        }
    }
}

void CConfigDlg::ChooseProgram() {
    if (const auto path = AskOpenFile(Hwnd(), ProgramFileDialog())) {
        chooseProgram(store_, ToU16(*path));
        SetProgramLabel();
    }
}

void CConfigDlg::ClearProgram() {
    clearProgram(store_);
    SetProgramLabel();
}

void CConfigDlg::activateProfile(int index) {
    store_.SetCurrentIndex(index);
    Refresh();
    pipeline_.RequestFullApply();
    Apply();
}

void CConfigDlg::Open() {
    if (unusable_) {
        OnTellDamage(0, 0);
    } else if (link_.AnyConnected()) {
        ShowWindow(Hwnd(), SW_SHOW);
        PostMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(Hwnd());
    } else {
        ShowNoMouseWarning();
    }
}

void CConfigDlg::OnCancel() {
    // The no-mouse warning runs a modal loop of its own inside this window's: left open, it would
    // keep the program alive after Exit, an installer's request to end or a log-off.
    if (noMouseWarning_) {
        noMouseWarning_->EndDialog(kWarnCancel);
    }
    EndDialog(IDCANCEL);
}

void CConfigDlg::ShowNoMouseWarning() {
    if (noMouseWarning_) {
        return;
    }
    // One warning at a time: under Wine a warning opened inside another's modal loop is mapped
    // but never painted, and neither can then be answered.
    if (telling_) {
        noMouseWarningWaits_ = true;
        return;
    }
    AddTrayIconIfDue();
    noMouseWarning_ = std::make_unique<CWarnNoMouseDlg>();
    noMouseWarning_->Run(nullptr);
    noMouseWarning_.reset();
    if (!pendingWarnings_.empty()) {
        PostMessageW(Hwnd(), kMsgTellUser, 0, 0);
    }
}

LRESULT CConfigDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
    if (IsIconic(Hwnd())) {
        PaintDC dc(Hwnd());
        RECT client;
        GetClientRect(Hwnd(), &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        DrawIcon(dc.Get(), x, y, icon_);
    } else {
        CSkinnedWindow::OnPaint(wParam, lParam);
    }
    // The window is only ever seen while a mouse is connected, and never without its picture.
    if (!link_.AnyConnected() || unusable_) {
        ShowWindow(Hwnd(), SW_HIDE);
    }
    return 0;
}

LRESULT CConfigDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    const UINT command = static_cast<UINT>(wParam & 0xFFF0);
    if (command == SC_MINIMIZE || command == SC_MAXIMIZE) {
        return 0;
    }
    return Default();
}

LRESULT CConfigDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(icon_);
}

LRESULT CConfigDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kTimerFinishStart) {
        FinishStart();
    } else if (wParam == kTimerNoMouse) {
        KillTimer(Hwnd(), kTimerNoMouse);
        ShowNoMouseWarning();
    } else if (wParam == kTimerSwitch) {
        Win32ForegroundProgram foreground;
        checkForegroundProgram(store_, foreground, *this, advancedPage_.Recording());
    }
    return 0;
}

LRESULT CConfigDlg::OnTrayIcon(WPARAM, LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            Open();
            break;
        case WM_RBUTTONDOWN:
            ShowTrayMenu();
            break;
        default:
            break;
    }
    return 1;
}

void CConfigDlg::ShowTrayMenu() {
    SetForegroundWindow(GetLastActivePopup(Hwnd()));
    HMENU menu = CreatePopupMenu();
    // Without a language library the menu still says what its entries do.
    const std::wstring open = LangString(IDS_TRAY_OPEN);
    const std::wstring exit = LangString(IDS_TRAY_EXIT);
    AppendMenuW(menu, MF_STRING, kCmdTrayOpen, open.empty() ? L"Open" : open.c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCmdTrayExit, exit.empty() ? L"Exit" : exit.c_str());
    SetMenuDefaultItem(menu, kCmdTrayOpen, FALSE);
    POINT pt;
    GetCursorPos(&pt);
    TrackFramedMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, Hwnd());
    DestroyMenu(menu);
}

LRESULT CConfigDlg::OnShowRequest(WPARAM, LPARAM) {
    Open();
    return 0;
}

LRESULT CConfigDlg::OnSendPassDone(WPARAM, LPARAM) {
    pipeline_.OnSendPassFinished();
    return 0;
}

void CConfigDlg::BeginBusy() {
    SetCapture(Hwnd());
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EnableWindow(ok_.Hwnd(), FALSE);
    RedrawNow(ok_.Hwnd());
    EnableWindow(apply_.Hwnd(), FALSE);
    RedrawNow(apply_.Hwnd());
}

void CConfigDlg::EndBusy() {
    EnableWindow(ok_.Hwnd(), TRUE);
    RedrawNow(ok_.Hwnd());
    EnableWindow(apply_.Hwnd(), TRUE);
    RedrawNow(apply_.Hwnd());
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    ReleaseCapture();
    if (!pendingWarnings_.empty()) {
        PostMessageW(Hwnd(), kMsgTellUser, 0, 0);
    }
}

void CConfigDlg::ApplyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited) {
    applyPointerSettings(applied, edited, pointerSystem_);
}

void CConfigDlg::SaveSettings(const ProfileBlock& block) {
    const std::filesystem::path appFolder(App().appFolder);
    if (saveSettings(block, appFolder) || toldSettingsNotKept_) {
        return;
    }
    toldSettingsNotKept_ = true;
    const std::filesystem::path file = SettingsFilePath(appFolder);
    Tell(FillIn(IDS_WARN_SETTINGS_NOT_KEPT, {file.wstring(), WriteFailureReason(file)}));
}

std::vector<std::wstring> CConfigDlg::FindDamage() const {
    std::vector<std::wstring> damage;
    if (!App().language) {
        damage.push_back(L"lan.dll");
    }
    static constexpr const wchar_t* kSkinFiles[] = {
        L"skin_main.ini", L"skin_button_page.ini",  L"skin_advance_setting.ini",
        L"skin_warn.ini", L"skin_select_macro.ini", L"skin_key.ini",
    };
    for (const wchar_t* name : kSkinFiles) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(App().skinFolder + name, error)) {
            damage.push_back(std::wstring(L"skins\\") + name);
        }
    }
    if (skin_.size.cx <= 0 || skin_.size.cy <= 0) {
        const std::u16string picture =
            SkinFile(std::filesystem::path(App().skinFolder + L"skin_main.ini"))
                .Pictures(u"SCREEN")
                .normal;
        if (!picture.empty()) {
            damage.push_back(L"skins\\" + ToWide(picture));
        }
    }
    return damage;
}

LRESULT CConfigDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
    // Whoever asks (the dialog's own start, a second start, the icon), a window without its
    // picture is never put on the screen.
    if (unusable_) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    }
    return Default();
}

LRESULT CConfigDlg::OnWindowPosChanged(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    // The program spends most of its life hidden in the notification area: it holds no picture
    // there. Whatever is drawn next decodes what it needs again.
    if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0) {
        StatePictures::ReleaseAll();
    }
    return result;
}

LRESULT CConfigDlg::OnTellDamage(WPARAM, LPARAM) {
    AddTrayIconIfDue();
    // Built-in English: the language library may be what is missing.
    std::wstring text =
        L"The VANTREL T-30 configuration program is damaged. These files are missing or cannot "
        L"be read:\n\n";
    for (const std::wstring& file : damage_) {
        text += L"    " + file + L"\n";
    }
    text += L"\nPlease reinstall the program.";
    if (unusable_) {
        text +=
            L" Until then its window cannot be shown; the notification icon's menu still "
            L"ends the program (Exit).";
    }
    MessageBoxW(nullptr, text.c_str(), L"VANTREL T-30: installation damaged",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return 0;
}

void CConfigDlg::Tell(std::wstring message) {
    pendingWarnings_.push_back(std::move(message));
    PostMessageW(Hwnd(), kMsgTellUser, 0, 0);
}

LRESULT CConfigDlg::OnTellUser(WPARAM, LPARAM) {
    // A send pass holds the mouse, so the warning could not be answered; EndBusy asks again.
    if (telling_ || noMouseWarning_ || GetCapture() == Hwnd()) {
        return 0;
    }
    AddTrayIconIfDue();
    telling_ = true;
    while (!pendingWarnings_.empty()) {
        std::wstring message = std::move(pendingWarnings_.front());
        pendingWarnings_.erase(pendingWarnings_.begin());
        // Owned by a hidden main window (no mouse yet), a warning would never show.
        ShowWarning(IsWindowVisible(Hwnd()) ? Hwnd() : nullptr, std::move(message));
    }
    telling_ = false;
    if (noMouseWarningWaits_) {
        noMouseWarningWaits_ = false;
        ShowNoMouseWarning();
    }
    return 0;
}

void CConfigDlg::AddTrayIconIfDue() {
    // Any window that opens during the start (the damage message, a warning) opens with the
    // icon already there: under Wine, an icon docked while a message box is up takes the
    // keyboard from it.
    if (trayIconDue_) {
        AddTrayIcon();
    }
}

void CConfigDlg::AddTrayIcon() {
    trayIconDue_ = false;
    if (trayIconShown_) {
        return;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Hwnd();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    Title().copy(data.szTip, 127);
    trayIconShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void CConfigDlg::DeleteTrayIcon() {
    trayIconDue_ = false;
    if (!trayIconShown_) {
        return;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Hwnd();
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayIconShown_ = false;
}

void CConfigDlg::StartSwitchTimer() {
    SetTimer(Hwnd(), kTimerSwitch, kSwitchPeriodMs, nullptr);
}

void CConfigDlg::StopSwitchTimer() {
    KillTimer(Hwnd(), kTimerSwitch);
}

void CConfigDlg::StartNoMouseTimer() {
    SetTimer(Hwnd(), kTimerNoMouse, kNoMouseDelayMs, nullptr);
}

}  // namespace t30
