// CSensitivityDlg is the advanced page: the desktop pointer settings of the current profile, and
// the macro editor (macro list, event list with its menu, recording controls, repeat count). What
// it decides lives in AdvancedPageLogic; this window builds the controls from
// "skin_advance_setting.ini", passes their messages in and shows what the logic says.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "host/key_usage_adapter.h"
#include "host/keyboard_hook_win32.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/list_box_ex.h"
#include "ui/controls/slider.h"
#include "ui/controls/spin_wnd.h"
#include "ui/page_logic/advanced_page_logic.h"
#include "ui/windows/skinned_window.h"

namespace t30 {

constexpr UINT kRepeatEditId = 4010;

class CSensitivityDlg : public CSkinnedPage, private AdvancedPageView {
  public:
    CSensitivityDlg(ProfileStore& store, MacroLibrary& library);
    ~CSensitivityDlg() override;

    // The main window calls these when the current profile changed, and after a profile import
    // has brought macros into the library.
    void RefreshFromProfile();
    void RefreshMacroList();
    // Ends a recording in progress and keeps what it took: the main window calls it on its way
    // out, before it lets go of the macro library.
    void EndRecording();
    bool Recording() const { return logic_ && logic_->recording(); }
    // Called after a macro was deleted, so the button page relabels its buttons.
    void SetMacrosDeletedHandler(std::function<void()> handler) {
        macrosDeleted_ = std::move(handler);
    }

    // For checks of the window (valid once the page exists).
    AdvancedPageLogic& Logic() { return *logic_; }
    CListBoxEx& MacroList() { return macroList_; }
    CListBoxEx& EventList() { return eventList_; }
    CBmpEdit& RepeatEdit() { return repeat_; }
    CClickHSlider& WheelSlider() { return wheelSlider_; }
    CBitmapBtn& RecordButton() { return record_; }
    CBitmapBtn& StopButton() { return stop_; }
    CBitmapBtn& RecordDelaysCheck() { return recordDelays_; }
    CBitmapBtn& NewButton() { return new_; }
    CBitmapBtn& DeleteButton() { return delete_; }
    CBitmapBtn& PageScrollCheck() { return pageScroll_; }
    CBitmapBtn& PrecisionCheck() { return precision_; }
    // The event menu's texts as built the last time it opened (main menu, then submenus).
    const std::vector<std::wstring>& LastMenuTexts() const { return lastMenuTexts_; }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // Messages.
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnHidePage() override;
    LRESULT OnSliderValue(WPARAM, LPARAM);
    LRESULT OnSpinValue(WPARAM, LPARAM);
    LRESULT OnNewRowCommitted(WPARAM, LPARAM);
    LRESULT OnRowRenamed(WPARAM, LPARAM);
    LRESULT OnListRightButton(WPARAM, LPARAM);
    LRESULT OnHookKey(WPARAM, LPARAM);
    LRESULT OnRepeatChanged(WPARAM, LPARAM);

    void Build();
    // A spin box of skin entry `key`, cut out of the page's pictures.
    SkinControl SkinSpin(int key, CSpinWnd& control, UINT id);
    // A button of skin entry `key` with its caption (0: none), text layout and check mode.
    SkinControl SkinPageButton(int key, CBitmapBtn& control, UINT caption, int layout,
                               bool checkMode);
    void Initialise();
    void StartNewMacro();
    void ImportMacro();
    void ExportMacro();
    void ShowEventMenu();

    // AdvancedPageView
    void SetSlider(int sliderId, int value) override;
    void SetSpin(int spinId, int value) override;
    void SetPrecisionCheck(bool checked) override { precision_.SetCheck(checked); }
    void SetPageScrollCheck(bool checked) override { pageScroll_.SetCheck(checked); }
    void EnableWheelSlider(bool enabled) override;
    void SetMacroLines(const std::vector<std::u16string>& names) override;
    void SelectMacroLine(int line) override { macroList_.SelectRow(line); }
    void DeleteMacroLine(int line) override { macroList_.DeleteRow(line); }
    void AppendMacroLine(const std::u16string& name) override;
    void SetEventLines(const std::vector<EventLine>& lines, int caretLine) override;
    void ReplaceEventLine(int line, const EventLine& content) override;
    void OpenPauseEditor(int line) override;
    void SetRepeatText(const std::u16string& text) override;
    void EnableRepeatEdit(bool enabled) override { EnableWindow(repeat_.Hwnd(), enabled); }
    void ShowRecordPressed(bool pressed) override;
    void EnableForRecording(bool idle) override;
    WindowRef HookTarget() override { return Hwnd(); }
    void WarnNoMacro() override;
    void WarnLocked() override;
    bool ConfirmDelete() override;
    void MacrosDeleted() override;

    ProfileStore& store_;
    MacroLibrary& library_;
    std::function<void()> macrosDeleted_;

    TickCountClock clock_;
    std::unique_ptr<KeyTableUsageMap> keys_;
    std::unique_ptr<AdvancedPageLogic> logic_;

    CClickHSlider speedSlider_, wheelSlider_, doubleClickSlider_;
    CSpinWnd speedSpin_, wheelSpin_, doubleClickSpin_;
    CBitmapBtn precision_, pageScroll_, defaults_, new_, delete_, import_, export_, spare_;
    CBitmapBtn record_, stop_, recordDelays_;
    CBmpEdit repeat_;
    CListBoxEx macroList_, eventList_;
    std::vector<std::wstring> lastMenuTexts_;
};

}  // namespace t30
