// CButtonDlg: the button assignment page of the main window. Its 24 assignment buttons open the
// function menu; beside them sit the restore button, the report rate, the lighting controls, the
// six DPI stage windows and their colours. Every control edits the current profile of the edited
// block directly (through ButtonPageLogic); Refresh shows a profile after it changed elsewhere.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "keys/keyboard_layout.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/controls/bitmap_btn.h"
#include "ui/controls/picture_wnd.h"
#include "ui/controls/text_label.h"
#include "ui/page_logic/button_page_logic.h"
#include "ui/page_logic/lighting.h"
#include "ui/windows/dpi_setting_wnd.h"
#include "ui/windows/skinned_window.h"

namespace t30 {

class KeyboardCapture;

class CButtonDlg : public CSkinnedPage {
  public:
    CButtonDlg(ProfileStore& store, const MacroLibrary& library);
    // Reloads everything shown from the current profile.
    void Refresh();

    // For checks of the page's windows.
    HWND AssignmentButton(int index) const;
    std::wstring AssignmentCaption(int index) const;
    bool HighlightVisible(int index) const;
    const CDpiSettingWnd& DpiWindow(int stage) const;
    HWND LightModeButton() const { return lightMode_.Hwnd(); }
    HWND LightLevelButton() const { return lightLevel_.Hwnd(); }
    HWND LightColourButton() const { return lightColour_.Hwnd(); }
    const std::wstring& LightModeCaption() const { return lightMode_.Caption(); }
    const std::wstring& LightLevelCaption() const { return lightLevel_.Caption(); }
    bool ReportRateChecked(int rate) const;
    HWND ReportRateButton(int rate) const;
    HWND RestoreButton() const { return restore_.Hwnd(); }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void PaintOver(HDC dc, const RECT& client) override;
    LRESULT OnButtonHover(WPARAM, LPARAM);
    LRESULT OnDpiStage(WPARAM, LPARAM);
    LRESULT OnSliderValue(WPARAM, LPARAM) { return 0; }
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnFunctionCommand(UINT id, UINT code, HWND control);
    void OnLightModeCommand(UINT id, UINT code, HWND control);
    void OnLightLevelCommand(UINT id, UINT code, HWND control);

    // Skin entry 105: the mouse picture; over it, the highlight of the button pointed at.
    void MakePicture(const RECT& r);
    void ShowHighlight(int index, bool show);
    bool OnControl(HWND control);
    void OpenFunctionMenu(int index);
    void OpenLightMenu(CBitmapBtn& button, const std::vector<LightMenuItem>& items);
    void AfterMenu(CBitmapBtn& button);
    void TrackMenuUnder(CBitmapBtn& button, HMENU menu);
    HWND DialogOwner() const;
    bool ChooseColour(Colour& colour);
    void RunMacroDialog(const FunctionChoice& choice);
    void RunShortcutDialog(const FunctionChoice& choice);

    void Relabel();
    void ShowLightMode();
    void ShowLightLevel();
    void ShowReportRate();
    void ShowColours();
    void ShowDpiCurrent();
    static void RedrawNow(HWND window);

    ButtonPageLogic logic_;
    const MacroLibrary& library_;
    const KeyboardLayout& layout_;
    KeyboardCapture& capture_;

    std::array<CBitmapBtn, kButtonSlotCount> buttons_;
    std::array<CLineWnd, kButtonSlotCount> highlights_;
    CBitmapBtn restore_;
    std::array<CBitmapBtn, kReportRateCount> reportRates_;
    std::array<CBitmapCBtn, kStageColourCount> stageColours_;
    CBitmapCBtn lightColour_;
    CBitmapBtn lightMode_, lightLevel_;
    std::array<CDpiSettingWnd, kDpiStageCount> dpiStages_;
    RECT pictureRect_{};
    std::shared_ptr<StatePictures> basePicture_;  // the mouse
};

}  // namespace t30
