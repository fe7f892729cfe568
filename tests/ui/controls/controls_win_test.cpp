// The controls on real windows, driven by messages only (no pointer, no focus needed).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "controls_test_support.h"
#include "gdiplus_environment.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/ex_menu.h"
#include "ui/controls/list_box_ex.h"
#include "ui/controls/slider.h"
#include "ui/controls/spin_wnd.h"
#include "ui/framework/gdi.h"

namespace t30 {
namespace {

using test::CRecorder;
using test::Received;

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new test::GdiplusEnvironment);

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory == nullptr) {
        CloseClipboard();
        return false;
    }
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) {
        GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}

class BitmapEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(parent_.CreateAt(40, 40, 300, 120));
        ASSERT_TRUE(
            edit_.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{10, 10, 210, 40}, parent_.Hwnd(), 0));
        edit_.ApplyFont();
        test::Pump();
        parent_.Clear();
    }
    void TearDown() override { parent_.DestroyWindow(); }

    size_t ChangeNotices() {
        test::PumpFor(30);
        size_t n = 0;
        for (const Received& r : parent_.Of(BmpEditChangedMessage())) {
            EXPECT_EQ(r.wParam, 0u);
            EXPECT_EQ(r.lParam, 0);
            ++n;
        }
        return n;
    }

    CRecorder parent_;
    CBmpEdit edit_;
};

TEST_F(BitmapEdit, NumericFilterCleansPastedAndTypedText) {
    edit_.SetNumericFilter(true);
    struct Case {
        const wchar_t* pasted;
        const wchar_t* kept;
    } cases[] = {{L"1,5.0x", L"1,5.0"}, {L"A7", L"7"}, {L"12", L"12"}};
    for (const Case& c : cases) {
        SetWindowTextW(edit_.Hwnd(), L"");
        test::Pump();
        parent_.Clear();
        ASSERT_TRUE(PutOnClipboard(parent_.Hwnd(), c.pasted));
        SendMessageW(edit_.Hwnd(), WM_PASTE, 0, 0);
        EXPECT_EQ(edit_.Text(), c.kept) << c.pasted;
        EXPECT_EQ(ChangeNotices(), 1u) << c.pasted;  // one notice, of the cleaned text
    }
    // A letter typed between digits goes at once; the caret stays where the typing was.
    SetWindowTextW(edit_.Hwnd(), L"12");
    SendMessageW(edit_.Hwnd(), EM_SETSEL, 1, 1);
    SendMessageW(edit_.Hwnd(), WM_CHAR, L'x', 0);
    EXPECT_EQ(edit_.Text(), L"12");
    SendMessageW(edit_.Hwnd(), WM_CHAR, L'9', 0);
    EXPECT_EQ(edit_.Text(), L"192");
}

TEST_F(BitmapEdit, EveryChangeIsNoticedWithoutFilter) {
    SendMessageW(edit_.Hwnd(), WM_CHAR, L'a', 0);
    SendMessageW(edit_.Hwnd(), WM_CHAR, L'b', 0);
    EXPECT_EQ(edit_.Text(), L"ab");
    EXPECT_EQ(ChangeNotices(), 2u);
    parent_.Clear();
    SetWindowTextW(edit_.Hwnd(), L"set by the program");
    EXPECT_EQ(ChangeNotices(), 1u);
    parent_.Clear();
    SetWindowTextW(edit_.Hwnd(), L"set by the program");  // the same text: no change
    SendMessageW(edit_.Hwnd(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(ChangeNotices(), 0u);
}

TEST_F(BitmapEdit, PaintsInItsOwnColours) {
    edit_.SetBackgroundColour(RGB(77, 77, 77));
    edit_.SetTextColour(RGB(255, 255, 255));
    SetWindowTextW(edit_.Hwnd(), L"");
    EXPECT_EQ(test::Shown(edit_.Hwnd(), 100, 15), RGB(77, 77, 77));
    edit_.SetBackgroundColour(RGB(0, 0, 0));
    EXPECT_EQ(test::Shown(edit_.Hwnd(), 100, 15), RGB(0, 0, 0));
    // The text is drawn in the text colour on that background.
    SetWindowTextW(edit_.Hwnd(), L"WWWW");
    RedrawWindow(edit_.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    WindowDC dc(edit_.Hwnd());
    int lit = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            lit += GetPixel(dc.Get(), x, y) == RGB(255, 255, 255);
        }
    }
    EXPECT_GT(lit, 20);
}

// A dialog that holds a field and is sent Enter and Escape through its own message loop.
class CFieldDialog : public CDialog {
  public:
    CBmpEdit edit;
    bool stillOpen = false;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CDialog::GetMessageMap(),
                                    {OnMessage(WM_TIMER, &CFieldDialog::OnTimer)}};
        return &map;
    }
    BOOL OnInitDialog() override {
        SetWindowPos(Hwnd(), nullptr, 50, 50, 240, 80, SWP_NOZORDER | SWP_SHOWWINDOW);
        edit.Create(WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 200, 40}, Hwnd(), 100);
        SetFocus(edit.Hwnd());
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            PostMessageW(edit.Hwnd(), WM_KEYDOWN, key, 1);
            PostMessageW(edit.Hwnd(), WM_KEYUP, key, 0xC0000001);
        }
        SetTimer(Hwnd(), 1, 300, nullptr);
        return FALSE;
    }
    LRESULT OnTimer(WPARAM, LPARAM) {
        KillTimer(Hwnd(), 1);
        stillOpen = true;
        EndDialog(42);
        return 0;
    }
};

TEST(BitmapEditInDialog, EnterAndEscapeDoNotCloseTheDialog) {
    CFieldDialog dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), 42);
    EXPECT_TRUE(dialog.stillOpen);
}

// ---- Spin

class Spin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(parent_.CreateAt(40, 40, 200, 100));
        ASSERT_TRUE(spin_.Create(RECT{20, 10, 40, 53}, parent_.Hwnd(), 400));
        pictures_[0] = test::SolidPicture(200, 100, RGB(60, 60, 60));
        pictures_[1] = test::SolidPicture(200, 100, RGB(90, 90, 90));
        pictures_[2] = test::SolidPicture(200, 100, RGB(200, 0, 0));
        pictures_[3] = test::SolidPicture(200, 100, RGB(40, 40, 40));
        spin_.SetStateImages(
            SkinPart(StatePictures::Copying(pictures_[0].Get(), pictures_[1].Get(),
                                            pictures_[2].Get(), pictures_[3].Get()),
                     RECT{20, 10, 40, 53}));
        spin_.SetRange(1, 11);
        spin_.SetValue(5);
        test::PumpFor(30);
        parent_.Clear();
    }
    void TearDown() override { parent_.DestroyWindow(); }

    // Values posted to the owner since the last look; each must carry the spin's id.
    std::vector<int> Posted() {
        test::PumpFor(40);
        std::vector<int> values;
        for (const Received& r : parent_.Of(kMsgSpinValue)) {
            EXPECT_EQ(r.lParam, 400);
            values.push_back(static_cast<int>(r.wParam));
        }
        parent_.Clear();
        return values;
    }
    void Type(const wchar_t* text) {
        for (const wchar_t* p = text; *p; ++p) {
            SendMessageW(spin_.Edit().Hwnd(), WM_CHAR, *p, 0);
            test::Pump();
        }
    }
    void Click(CBitmapBtn& button) {
        SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
        test::PumpFor(40);
    }

    CRecorder parent_;
    CSpinWnd spin_;
    Bitmap pictures_[4];
};

TEST_F(Spin, TypingBeyondTheMaximumShowsAndPostsTheMaximum) {
    SetWindowTextW(spin_.Edit().Hwnd(), L"");
    test::PumpFor(40);
    parent_.Clear();
    SendMessageW(spin_.Edit().Hwnd(), EM_SETSEL, 0, -1);
    Type(L"15");
    const std::vector<int> values = Posted();
    EXPECT_EQ(spin_.Edit().Text(), L"11");
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 11);
    EXPECT_EQ(spin_.Value(), 11);
}

TEST_F(Spin, ArrowsStepAndStopAtTheEnds) {
    Click(spin_.UpButton());
    EXPECT_EQ(spin_.Edit().Text(), L"6");
    EXPECT_EQ(Posted().back(), 6);
    spin_.SetValue(11);
    Posted();
    Click(spin_.UpButton());
    EXPECT_EQ(spin_.Edit().Text(), L"11");
    spin_.SetValue(1);
    Posted();
    Click(spin_.DownButton());
    EXPECT_EQ(spin_.Edit().Text(), L"1");
    EXPECT_EQ(spin_.Value(), 1);
}

TEST_F(Spin, SetValueTellsTheOwnerOnlyWhenTheTextChanges) {
    spin_.SetValue(8);
    EXPECT_EQ(spin_.Edit().Text(), L"8");
    EXPECT_EQ(Posted(), std::vector<int>{8});
    spin_.SetValue(8);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(Spin, StepsSnapTypedValuesAndTheTextIsLimited) {
    spin_.SetRange(0, 100);
    spin_.SetStep(5);
    SetWindowTextW(spin_.Edit().Hwnd(), L"12");
    test::PumpFor(40);
    EXPECT_EQ(spin_.Edit().Text(), L"10");
    EXPECT_EQ(spin_.Value(), 10);
    SetWindowTextW(spin_.Edit().Hwnd(), L"13");
    test::PumpFor(40);
    EXPECT_EQ(spin_.Edit().Text(), L"15");
    // Three characters for a maximum of 100.
    EXPECT_EQ(SendMessageW(spin_.Edit().Hwnd(), EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(Spin, LeavingTheEditCleansItsText) {
    SetWindowTextW(spin_.Edit().Hwnd(), L"0");
    test::PumpFor(40);  // a typed 0 is at once the minimum
    EXPECT_EQ(spin_.Edit().Text(), L"1");
    parent_.Clear();
    PostMessageW(spin_.Hwnd(), kMsgEditFocusLost, 0, 0);
    PostMessageW(spin_.Hwnd(), kMsgEditFocusLost, 0, 0);  // a repeat changes nothing
    EXPECT_EQ(Posted(), (std::vector<int>{1, 1}));
    EXPECT_EQ(spin_.Edit().Text(), L"1");
}

// ---- List drawing

class ListDrawing : public ::testing::Test {
  protected:
    static constexpr COLORREF kBackground = RGB(20, 20, 20);
    static constexpr COLORREF kSelection = RGB(120, 0, 0);

    void SetUp() override {
        ASSERT_TRUE(parent_.CreateAt(40, 40, 260, 160));
        ASSERT_TRUE(list_.Create(WS_VISIBLE, RECT{10, 10, 250, 150}, parent_.Hwnd(), 0));
        list_.SetListId(4096);
        list_.SetKeepOwner(true);
        list_.SetColours(kBackground, kSelection);
        list_.SetTextColours(RGB(200, 200, 200), RGB(255, 255, 255));
    }
    void TearDown() override { parent_.DestroyWindow(); }

    CRecorder parent_;
    CListBoxEx list_;
};

TEST_F(ListDrawing, RowsShowTheirPictureWithMagentaSeeThrough) {
    struct Row {
        DWORD value;
        COLORREF centre;  // pixel in the middle of the picture's place
    } rows[] = {
        {135, RGB(255, 200, 0)},
        {0x00070000 | 138, RGB(0, 220, 0)},  // the owner's high bits do not matter
        {1, kBackground},                    // reserved: no picture
        {0, kBackground},
    };
    for (const Row& r : rows) {
        list_.AddRow(r.value, L"");
    }
    for (int i = 0; i < 4; ++i) {
        const int top = i * CListBoxEx::kRowHeight;
        EXPECT_EQ(test::Shown(list_.Hwnd(), 5 + 8, top + 2 + 8), rows[i].centre) << i;
        // The picture's magenta corner shows the list's background.
        EXPECT_EQ(test::Shown(list_.Hwnd(), 5, top + 2), kBackground) << i;
    }
    EXPECT_EQ(list_.RowValue(1), 0x00070000u | 138);
}

TEST_F(ListDrawing, SelectedRowIsFilledInsideItsMargins) {
    list_.AddRow(0, L"one");
    list_.AddRow(0, L"two");
    list_.SelectRow(1);
    const int top = CListBoxEx::kRowHeight;
    EXPECT_EQ(test::Shown(list_.Hwnd(), 150, top + 10), kSelection);
    EXPECT_EQ(test::Shown(list_.Hwnd(), 1, top + 10), kBackground);  // 2-unit side margin
    EXPECT_EQ(test::Shown(list_.Hwnd(), 150, 10), kBackground);
}

TEST_F(ListDrawing, NewRowAndRenameCommitByKeys) {
    list_.AddRow(146, L"Macro A");
    // A new row: typed text, Enter.
    ASSERT_TRUE(list_.StartNewRow());
    EXPECT_FALSE(list_.StartNewRow());  // one edit at a time
    HWND edit = list_.EditWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 15);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Macro B"));
    SendMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    test::PumpFor(30);
    EXPECT_EQ(list_.EditWindow(), nullptr);
    EXPECT_FALSE(IsWindow(edit));
    ASSERT_EQ(list_.RowCount(), 2);
    EXPECT_EQ(list_.RowText(1), L"Macro B");
    EXPECT_EQ(list_.SelectedRow(), 1);
    auto committed = parent_.Of(kMsgListNewRowCommitted);
    ASSERT_EQ(committed.size(), 1u);
    EXPECT_EQ(committed[0].wParam, 1u);
    EXPECT_EQ(committed[0].lParam, 4096);
}

TEST(ListMenuLeaks, ControlsMadeAndDestroyedLeaveNothingBehind) {
    CRecorder parent;
    ASSERT_TRUE(parent.CreateAt(40, 40, 300, 200));
    Gdiplus::Font font(L"Arial", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Bitmap picture = test::SolidPicture(300, 200, RGB(60, 60, 60));
    const std::wstring knob = test::TempFolder(L"t30_leak") + L"knob.bmp";
    ASSERT_TRUE(test::WriteBmp(knob, 12, 20, [](int, int) { return RGB(200, 200, 200); }));
    auto cycle = [&] {
        {
            CBmpEdit edit;
            edit.Create(WS_VISIBLE, RECT{0, 0, 100, 24}, parent.Hwnd(), 0);
            edit.ApplyFont();
            SetWindowTextW(edit.Hwnd(), L"abc");
            test::Shown(edit.Hwnd(), 1, 1);
        }
        {
            CClickHSlider slider;
            slider.Create(knob, RECT{0, 30, 200, 50}, parent.Hwnd(), 300);
            slider.SetTrackImage(
                SkinPart(StatePictures::Copying(picture.Get(), nullptr, nullptr, nullptr),
                         RECT{0, 30, 200, 50}));
            slider.SetValue(4);
            test::Shown(slider.Hwnd(), 1, 1);
        }
        {
            CSpinWnd spin;
            spin.Create(RECT{0, 60, 20, 103}, parent.Hwnd(), 400);
            spin.SetStateImages(SkinPart(
                StatePictures::Copying(picture.Get(), picture.Get(), picture.Get(), picture.Get()),
                RECT{0, 60, 20, 103}));
            spin.SetValue(3);
        }
        {
            CListBoxEx list;
            list.Create(WS_VISIBLE, RECT{0, 110, 200, 190}, parent.Hwnd(), 0);
            list.SetKeepOwner(true);
            list.SetColours(RGB(1, 1, 1), RGB(2, 2, 2));
            list.AddRow(135, L"row");
            list.StartNewRow();
            test::Shown(list.Hwnd(), 1, 1);
        }
        {
            CExMenu sub(&font);
            CExMenu menu(&font);
            sub.CreatePopup();
            sub.AppendItem(1001, L"inner");
            menu.CreatePopup();
            menu.AppendItem(1002, L"outer", sub.Handle());
            menu.AppendItem(CExMenu::kSeparator, L"");
        }
        test::Pump();
    };
    cycle();  // first use creates what lives for the process (classes, cached resources)
    const DWORD gdi = test::GdiObjectCount();
    const DWORD windows = test::WindowCount();
    for (int i = 0; i < 100; ++i) {
        cycle();
    }
    EXPECT_LE(test::GdiObjectCount(), gdi + 2);
    EXPECT_EQ(test::WindowCount(), windows);
    parent.DestroyWindow();
    DeleteFileW(knob.c_str());
}

TEST(MenuText, MeasuredWidthGrowsWithTheTextAndKeepsTheMinimum) {
    EXPECT_EQ(MeasureMenuText(L"", 159), 159);
    EXPECT_EQ(MeasureMenuText(L"Copy", 159), 159);
    const int shortWidth = MeasureMenuText(L"Copy", 0);
    const int longWidth =
        MeasureMenuText(L"Switch to the previous profile and show it on the screen", 159);
    EXPECT_GT(shortWidth, 15);
    EXPECT_LT(shortWidth, 60);
    EXPECT_GT(longWidth, 159);
    EXPECT_GT(longWidth, shortWidth * 5);
}

}  // namespace
}  // namespace t30
