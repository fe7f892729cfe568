// The main window: the program's only top-level window. It owns the pages, the device link, the
// apply worker, the notification icon and the timers, and hides itself instead of closing for
// most user actions, so the program lives in the notification area.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/window_messages.h"
#include "device/apply_pipeline.h"
#include "device/apply_worker_win32.h"
#include "device/connection_monitor.h"
#include "device/device_link.h"
#include "host/pointer_settings_win32.h"
#include "host/program_switch.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/controls/text_label.h"
#include "ui/windows/advanced_page_dlg.h"
#include "ui/windows/button_dlg.h"
#include "ui/windows/skinned_window.h"
#include "ui/windows/warn_dlg.h"

namespace t30 {

// A second start finds the first by its main window's title: language string 1111, or this
// when the language library gives none.
constexpr wchar_t kMainWindowTitle[] = L"VANTREL T-30";

// Commands and timers of the main window (its messages are in base/window_messages.h).
constexpr UINT kCmdTrayOpen = 6001;
constexpr UINT kCmdTrayExit = 6002;
constexpr UINT_PTR kTimerNoMouse = 1;
constexpr UINT_PTR kTimerSwitch = 500;
constexpr UINT_PTR kTimerFinishStart = 2;

class CConfigDlg : public CSkinnedWindow,
                   private ApplyHost,
                   private ConnectionHost,
                   private ProfileActivator {
  public:
    CConfigDlg(ProfileStore& store, MacroLibrary& library);
    ~CConfigDlg() override;

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& msg) override;
    void OnOK() override {}
    void OnCancel() override;  // WM_CLOSE; Escape never gets here

  private:
    // Messages.
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTrayIcon(WPARAM, LPARAM);
    LRESULT OnShowRequest(WPARAM, LPARAM);
    LRESULT OnSendPassDone(WPARAM, LPARAM);
    LRESULT OnTellUser(WPARAM, LPARAM);
    LRESULT OnTellDamage(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    // The driver libraries' status and event messages, by message id.
    template <UINT Message>
    LRESULT OnDeviceMessage(WPARAM wParam, LPARAM lParam) {
        monitor_.OnMessage(Message, wParam, lParam);
        return 0;
    }

    // Building and life cycle.
    void Build();
    void Initialise();
    void Shutdown();

    // Actions.
    void Open();
    void ShowNoMouseWarning();
    void ShowPage(int index);
    void FinishStart();
    void EnsureAdvancedPage();
    void Refresh();
    void Apply() { pipeline_.applyProfiles(); }
    void RestoreDefaults();
    void ImportProfile();
    void ExportProfile();
    void ChooseProgram();
    void ClearProgram();
    void ShowTrayMenu();
    void SetProgramLabel();
    std::wstring Title() const;
    // Files of the installation that are missing or cannot be read, relative to the program's
    // folder; empty when it is whole.
    std::vector<std::wstring> FindDamage() const;
    // Queues a warning for when nothing holds the mouse (a send pass captures it).
    void Tell(std::wstring message);

    // ApplyHost
    void BeginBusy() override;
    void EndBusy() override;
    bool DeviceConnected() const override { return link_.AnyConnected(); }
    void ApplyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited) override;
    void PostSendPass(std::unique_ptr<SendPass> pass) override { worker_.Post(std::move(pass)); }
    void SaveSettings(const ProfileBlock& block) override;
    // ConnectionHost
    void WaitMs(unsigned ms) override { Sleep(ms); }
    void AddTrayIcon() override;
    void AddTrayIconIfDue();
    void DeleteTrayIcon() override;
    void StartSwitchTimer() override;
    void StopSwitchTimer() override;
    void StartNoMouseTimer() override;
    void HideMainWindow() override { ShowWindow(Hwnd(), SW_HIDE); }
    void ShowDpiStage(int) override { basicPage_.Refresh(); }
    void ShowReportRate(int) override { basicPage_.Refresh(); }
    // ProfileActivator
    void activateProfile(int index) override;

    ProfileStore& store_;
    MacroLibrary& library_;

    DeviceLink link_;
    Win32Sleeper sleeper_;
    ApplyWorker worker_{link_, sleeper_};
    ApplyPipeline pipeline_{store_, *this};
    ConnectionMonitor monitor_{link_, store_, pipeline_, *this};
    Win32PointerSystem pointerSystem_;

    HICON icon_ = nullptr;  // shared resource icon: never destroyed
    CRgnButton basicTab_, advancedTab_, ok_, cancel_, apply_;
    CBitmapBtn minimise_, close_, spare_;
    std::array<CBitmapBtn, kProfileCount> profileButtons_;
    CBitmapBtn restore_, import_, export_, browse_, clearProgram_;
    CTextLabel programLabel_;
    RECT pageRect_{};
    CButtonDlg basicPage_{store_, library_};
    CSensitivityDlg advancedPage_{store_, library_};
    int currentPage_ = 0;

    bool trayIconShown_ = false;
    bool trayIconDue_ = false;  // added once the window has been painted
    bool shutDown_ = false;
    // The open no-mouse warning, so a second request never opens another.
    std::unique_ptr<CWarnNoMouseDlg> noMouseWarning_;
    bool noMouseWarningWaits_ = false;  // asked for while another warning was open
    std::vector<std::wstring> pendingWarnings_;
    bool telling_ = false;
    // A settings save that fails is told once per run, not at every apply.
    bool toldSettingsNotKept_ = false;
    std::vector<std::wstring> damage_;
    // Without its picture the main window has no size: it is never shown, and the notification
    // icon is all the user has.
    bool unusable_ = false;
};

}  // namespace t30
