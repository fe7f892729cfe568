// The controls driven by real pointer and keyboard input; these need the foreground and the
// focus, so they run alone.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls_test_support.h"
#include "gdiplus_environment.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/control_rules.h"
#include "ui/controls/ex_menu.h"
#include "ui/controls/list_box_ex.h"
#include "ui/controls/slider.h"
#include "ui/framework/gdi.h"

namespace t30 {
namespace {

using test::CRecorder;
using test::Received;

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new test::GdiplusEnvironment);

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}
void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
    test::PumpFor(60);
}
void TypeText(const wchar_t* text) {
    for (const wchar_t* p = text; *p; ++p) {
        INPUT in[2] = {};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = *p;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof in[0]);
        test::PumpFor(30);
    }
}

class Window : public ::testing::Test {
  protected:
    static constexpr int kLeft = 100, kTop = 100;

    void MakeParent(int width, int height) {
        ASSERT_TRUE(parent_.CreateAt(kLeft, kTop, width, height));
        SetForegroundWindow(parent_.Hwnd());
        SetActiveWindow(parent_.Hwnd());
        test::PumpFor(50);
    }
    void TearDown() override {
        if (parent_.Hwnd()) {
            parent_.DestroyWindow();
        }
        test::PumpFor(20);
    }
    void ClickAt(int x, int y) {
        test::MoveTo(kLeft + x, kTop + y);
        test::LeftDown();
        test::LeftUp();
    }

    CRecorder parent_;
};

// ---- Edit focus

TEST_F(Window, LeavingTheEditTellsItsParent) {
    MakeParent(300, 100);
    CBmpEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 200, 40}, parent_.Hwnd(), 0));
    SetFocus(edit.Hwnd());
    test::PumpFor(30);
    parent_.Clear();
    SetFocus(parent_.Hwnd());
    test::PumpFor(50);
    const auto lost = parent_.Of(kMsgEditFocusLost);
    ASSERT_FALSE(lost.empty());
    EXPECT_EQ(lost[0].wParam, 0u);
    EXPECT_EQ(lost[0].lParam, 0);
}

// ---- Slider

class Slider : public Window {
  protected:
    static constexpr RECT kTrack{20, 40, 220, 60};  // 200 wide
    static constexpr int kKnobWidth = 11;

    void SetUp() override {
        knob_ = test::TempFolder(L"t30_slider") + L"knob.bmp";
        // A knob with white corners (see-through: the top-left pixel's colour).
        ASSERT_TRUE(test::WriteBmp(knob_, kKnobWidth, 20, [](int x, int y) {
            const bool corner = (x == 0 || x == kKnobWidth - 1) && (y == 0 || y == 19);
            return corner ? RGB(255, 255, 255) : RGB(220, 40, 40);
        }));
        MakeParent(260, 100);
        track_ = test::SolidPicture(260, 100, RGB(70, 70, 70));
        ASSERT_TRUE(slider_.Create(knob_, kTrack, parent_.Hwnd(), 204));
        slider_.SetTrackImage(
            SkinPart(StatePictures::Copying(track_.Get(), nullptr, nullptr, nullptr), kTrack));
        slider_.SetRounding(true);
        test::PumpFor(30);
        parent_.Clear();
    }
    void TearDown() override {
        Window::TearDown();
        DeleteFileW(knob_.c_str());
    }
    std::vector<int> Posted() {
        test::PumpFor(40);
        std::vector<int> values;
        for (const Received& r : parent_.Of(kMsgSliderValue)) {
            EXPECT_EQ(r.lParam, 204);
            values.push_back(static_cast<int>(r.wParam));
        }
        parent_.Clear();
        return values;
    }
    int KnobLeft() {
        RECT rect;
        GetWindowRect(slider_.Knob().Hwnd(), &rect);
        MapWindowPoints(nullptr, slider_.Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect.left;
    }
    SliderTravel Travel() const { return SliderTravel{0, 200, kKnobWidth, 0, 10}; }

    std::wstring knob_;
    Bitmap track_;
    CClickHSlider slider_;
};

TEST_F(Slider, ClicksAtTheTrackEndsGiveTheMinimumAndTheMaximum) {
    for (bool rounding : {true, false}) {
        slider_.SetRounding(rounding);
        slider_.SetValue(5);
        ClickAt(kTrack.left, kTrack.top + 10);
        EXPECT_EQ(Posted(), std::vector<int>{0}) << rounding;
        EXPECT_EQ(KnobLeft(), 0);
        slider_.SetValue(5);
        ClickAt(kTrack.right - 1, kTrack.top + 10);
        EXPECT_EQ(Posted(), std::vector<int>{10}) << rounding;
        EXPECT_EQ(KnobLeft(), 200 - kKnobWidth);
    }
}

TEST_F(Slider, ReleasingTheKnobAt46PercentGives5AndSnaps) {
    slider_.SetValue(0);
    test::MoveTo(kLeft + kTrack.left + 5, kTrack.top + kTop + 10);  // on the knob
    test::LeftDown();
    const int travel = 200 - kKnobWidth;
    const int target = travel * 46 / 100;  // left edge at 46 % of the travel
    test::MoveTo(kLeft + kTrack.left + 5 + target, kTrack.top + kTop + 10);
    EXPECT_EQ(KnobLeft(), target);  // follows the pointer while dragged
    test::LeftUp();
    const std::vector<int> values = Posted();
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 5);
    EXPECT_EQ(KnobLeft(), SliderLeftOfValue(Travel(), 5));
    EXPECT_EQ(slider_.Value(), 5);
}

TEST_F(Slider, DraggingPastTheEndsStopsAtTheEnds) {
    slider_.SetValue(5);
    const int grabX = kLeft + kTrack.left + KnobLeft() + 5;
    test::MoveTo(grabX, kTop + kTrack.top + 10);
    test::LeftDown();
    test::MoveTo(kLeft + 250, kTop + kTrack.top + 10);  // beyond the right end
    EXPECT_EQ(KnobLeft(), 200 - kKnobWidth);
    EXPECT_EQ(Posted().back(), 10);
    test::MoveTo(5, kTop + kTrack.top + 10);  // beyond the left end, outside the window
    EXPECT_EQ(KnobLeft(), 0);
    test::LeftUp();
    const std::vector<int> values = Posted();
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 0);
}

TEST_F(Slider, PressingTheKnobWithoutMovingKeepsTheValue) {
    slider_.SetRange(1, 126);
    for (int value : {2, 37, 95, 125}) {
        slider_.SetValue(value);
        const int x = kLeft + kTrack.left + KnobLeft() + 5;
        test::MoveTo(x, kTop + kTrack.top + 10);
        test::LeftDown();
        test::LeftUp();
        const std::vector<int> values = Posted();
        ASSERT_FALSE(values.empty());
        EXPECT_EQ(values.back(), value);
    }
}

// ---- List in-place editing with the keyboard and the pointer

class List : public Window {
  protected:
    void SetUp() override {
        MakeParent(260, 160);
        ASSERT_TRUE(
            list_.Create(WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 250, 150}, parent_.Hwnd(), 0));
        list_.SetKeepOwner(true);
        list_.SetListId(4096);
        list_.SetEditable(true);
        list_.AddRow(146, L"Alpha");
        list_.AddRow(146, L"Beta");
        SetFocus(list_.Hwnd());
        test::PumpFor(30);
        parent_.Clear();
    }
    // Double click on a row (client coordinates of the list).
    void DoubleClickRow(int row) {
        test::MoveTo(kLeft + 10 + 60, kTop + 10 + row * CListBoxEx::kRowHeight + 10);
        for (int i = 0; i < 2; ++i) {
            test::SendMouse(MOUSEEVENTF_LEFTDOWN);
            test::SendMouse(MOUSEEVENTF_LEFTUP);
        }
        test::PumpFor(100);
    }
    CListBoxEx list_;
};

TEST_F(List, EnterCommitsANewRow) {
    ASSERT_TRUE(list_.StartNewRow());
    TypeText(L"Gamma");
    Press(VK_RETURN);
    ASSERT_EQ(list_.RowCount(), 3);
    EXPECT_EQ(list_.RowText(2), L"Gamma");
    EXPECT_EQ(list_.EditWindow(), nullptr);
    EXPECT_EQ(GetFocus(), list_.Hwnd());
    const auto committed = parent_.Of(kMsgListNewRowCommitted);
    ASSERT_EQ(committed.size(), 1u);
    EXPECT_EQ(committed[0].wParam, 2u);
    EXPECT_EQ(committed[0].lParam, 4096);
    EXPECT_TRUE(parent_.Of(kMsgListRowRenamed).empty());
    // The dialog-style Enter did not reach anything else: the window is still there.
    EXPECT_TRUE(IsWindow(parent_.Hwnd()));
}

TEST_F(List, EscapeAndEmptyTextRemoveANewRowSilently) {
    ASSERT_TRUE(list_.StartNewRow());
    TypeText(L"Gamma");
    Press(VK_ESCAPE);
    EXPECT_EQ(list_.RowCount(), 2);
    ASSERT_TRUE(list_.StartNewRow());
    Press(VK_RETURN);
    EXPECT_EQ(list_.RowCount(), 2);
    test::PumpFor(30);
    EXPECT_TRUE(parent_.received.empty());
}

TEST_F(List, DoubleClickRenamesAndAnEmptyNameKeepsTheOldOne) {
    DoubleClickRow(1);
    HWND edit = list_.EditWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(test::TextOf(edit), L"Beta");
    Press(VK_BACK);  // the whole text was selected
    EXPECT_EQ(test::TextOf(edit), L"");
    Press(VK_RETURN);
    EXPECT_EQ(list_.RowText(1), L"Beta");
    EXPECT_EQ(list_.RowValue(1), 146u);
    EXPECT_TRUE(parent_.received.empty());

    DoubleClickRow(0);
    ASSERT_NE(list_.EditWindow(), nullptr);
    TypeText(L"Omega");
    Press(VK_ESCAPE);  // escape while renaming keeps the old text
    EXPECT_EQ(list_.RowText(0), L"Alpha");

    DoubleClickRow(0);
    ASSERT_NE(list_.EditWindow(), nullptr);
    TypeText(L"Omega");
    Press(VK_RETURN);
    EXPECT_EQ(list_.RowText(0), L"Omega");
    EXPECT_EQ(list_.RowValue(0), 146u);
    const auto renamed = parent_.Of(kMsgListRowRenamed);
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].wParam, 0u);
}

TEST_F(List, ClickingBackIntoTheListCommitsOnce) {
    ASSERT_TRUE(list_.StartNewRow());
    TypeText(L"Delta");
    ClickAt(10 + 60, 10 + 5);  // the first row
    test::PumpFor(50);
    EXPECT_EQ(list_.EditWindow(), nullptr);
    ASSERT_EQ(list_.RowCount(), 3);
    EXPECT_EQ(list_.RowText(2), L"Delta");
    EXPECT_EQ(parent_.Of(kMsgListNewRowCommitted).size(), 1u);
}

TEST_F(List, EventListTakesDigitsOnlyAndEditsPauseRowsOnly) {
    list_.SetListId(kEventListId);
    list_.InsertRow(0, kPauseRowIcon, L"250");
    ASSERT_TRUE(list_.StartNewRow());
    TypeText(L"a1b2");
    EXPECT_EQ(test::TextOf(list_.EditWindow()), L"12");
    Press(VK_ESCAPE);
    DoubleClickRow(1);  // a key row: no edit
    EXPECT_EQ(list_.EditWindow(), nullptr);
    DoubleClickRow(0);  // the pause row
    EXPECT_NE(list_.EditWindow(), nullptr);
    Press(VK_ESCAPE);
    // StartRename: digits only on any list.
    list_.SetListId(4096);
    list_.SelectRow(1);
    ASSERT_TRUE(list_.StartRename());
    TypeText(L"x9");
    EXPECT_EQ(test::TextOf(list_.EditWindow()), L"9");
    Press(VK_ESCAPE);
}

// The Enter that chose a menu's Edit Pause is still down when the edit opens; its release must
// leave the edit open for the user to type, and the next Enter commits.
TEST_F(List, AnEditOpenedWhileEnterIsDownWaitsForTheNextEnter) {
    list_.SetListId(kEventListId);
    list_.InsertRow(0, kPauseRowIcon, L"250");
    Key(VK_RETURN, false);
    test::PumpFor(60);
    list_.SelectRow(0);
    ASSERT_TRUE(list_.StartRename());
    Key(VK_RETURN, true);
    test::PumpFor(60);
    ASSERT_NE(list_.EditWindow(), nullptr) << "the release of the opening Enter closed the edit";
    TypeText(L"300");
    Press(VK_RETURN);
    EXPECT_EQ(list_.EditWindow(), nullptr);
    EXPECT_EQ(list_.RowText(0), L"300");
    EXPECT_EQ(parent_.Of(kMsgListRowRenamed).size(), 1u);
}

TEST_F(List, RightButtonTellsTheOwner) {
    test::MoveTo(kLeft + 60, kTop + 20);
    test::SendMouse(MOUSEEVENTF_RIGHTDOWN);
    test::SendMouse(MOUSEEVENTF_RIGHTUP);
    test::PumpFor(60);
    const auto right = parent_.Of(kMsgListRightButton);
    ASSERT_EQ(right.size(), 1u);
    EXPECT_EQ(right[0].wParam, 0u);
    EXPECT_EQ(right[0].lParam, 4096);
}

TEST_F(List, APopUpListClosesItsOwnerWhenTheFocusLeaves) {
    CRecorder popup;
    ASSERT_TRUE(popup.CreateAt(kLeft + 20, kTop + 20, 120, 80));
    CListBoxEx list;
    ASSERT_TRUE(list.Create(WS_VISIBLE, RECT{0, 0, 120, 80}, popup.Hwnd(), 0));
    list.AddRow(0, L"one");
    SetFocus(list.Hwnd());
    ASSERT_TRUE(list.StartNewRow());  // its own edit is not "leaving"
    EXPECT_TRUE(IsWindow(popup.Hwnd()));
    SetFocus(list_.Hwnd());  // another window
    test::PumpFor(30);
    EXPECT_FALSE(IsWindow(popup.Hwnd()));
}

// ---- Menu

class Menu : public Window {
  protected:
    struct Seen {
        HWND window = nullptr;
        bool hadProperty = false;
        bool subclassed = false;
        size_t framed = 0;
        RECT items[4] = {};
        COLORREF ring[3] = {CLR_INVALID, CLR_INVALID, CLR_INVALID};  // outermost first
        COLORREF itemBackground = CLR_INVALID;  // of an item that is not selected
    };

    void SetUp() override {
        MakeParent(200, 100);
        ASSERT_TRUE(InstallMenuFrameHook());
    }
    void TearDown() override {
        RemoveMenuFrameHook();
        Window::TearDown();
    }

    // Shows the menu, looks at it from a timer inside the menu loop, then closes it.
    Seen ShowAndLook(CExMenu& menu) {
        static Seen* current;
        static HMENU shown;
        static HWND owner;
        Seen seen;
        current = &seen;
        shown = menu.Handle();
        owner = parent_.Hwnd();
        const UINT_PTR timer = SetTimer(nullptr, 0, 250, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            HWND w = FindWindowW(L"#32768", nullptr);
            current->window = w;
            current->hadProperty = w && GetPropW(w, L"CoolMenu_oldProc") != nullptr;
            current->subclassed =
                w && GetWindowLongPtrW(w, GWLP_WNDPROC) !=
                         reinterpret_cast<LONG_PTR>(GetPropW(w, L"CoolMenu_oldProc"));
            current->framed = FramedMenuCount();
            for (int i = 0; i < 4; ++i) {
                GetMenuItemRect(owner, shown, static_cast<UINT>(i), &current->items[i]);
            }
            if (w) {
                RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
                WindowDC dc(w);  // window DC: the frame is at the window's edge
                RECT rc;
                GetWindowRect(w, &rc);
                for (int i = 0; i < 3; ++i) {
                    current->ring[i] = GetPixel(dc.Get(), i, (rc.bottom - rc.top) / 2);
                }
                // Right part of the last item (just inside the frame), where no text is.
                current->itemBackground =
                    GetPixel(dc.Get(), rc.right - rc.left - 12, rc.bottom - rc.top - 3 - 10);
            }
            EndMenu();
        });
        TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, kLeft + 20,
                       kTop + 20, 0, parent_.Hwnd(), nullptr);
        KillTimer(nullptr, timer);
        test::PumpFor(30);
        return seen;
    }
};

TEST_F(Menu, ItemOneTakesNoSpaceAndTheFrameComesAndGoes) {
    Gdiplus::Font font(L"Arial", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    CExMenu menu(&font);
    ASSERT_TRUE(menu.CreatePopup());
    menu.AppendItem(1001, L"First");
    menu.AppendItem(1, L"hidden");
    menu.AppendItem(CExMenu::kSeparator, L"");
    menu.AppendItem(1002, L"Second");
    menu.SetItemWidth(MeasureMenuText(L"Second", 159));

    for (int round = 0; round < 2; ++round) {  // shown twice: framed anew each time
        const Seen seen = ShowAndLook(menu);
        ASSERT_NE(seen.window, nullptr) << round;
        EXPECT_TRUE(seen.hadProperty);
        EXPECT_TRUE(seen.subclassed);
        EXPECT_EQ(seen.framed, 1u);
        EXPECT_EQ(seen.items[0].bottom - seen.items[0].top, 20);
        EXPECT_EQ(seen.items[1].bottom - seen.items[1].top, 0);  // id 1
        EXPECT_EQ(seen.items[1].top, seen.items[0].bottom);
        EXPECT_EQ(seen.items[2].bottom - seen.items[2].top, 5);  // separator
        EXPECT_EQ(seen.items[2].top, seen.items[0].bottom);
        // The item width, plus the check-mark room the system adds to owner-drawn items.
        EXPECT_GE(seen.items[0].right - seen.items[0].left, 159);
        EXPECT_LE(seen.items[0].right - seen.items[0].left,
                  159 + 2 * GetSystemMetrics(SM_CXMENUCHECK));
        EXPECT_EQ(seen.items[3].right - seen.items[3].left,
                  seen.items[0].right - seen.items[0].left);
        EXPECT_EQ(seen.ring[0], RGB(255, 0, 0));
        EXPECT_EQ(seen.ring[1], RGB(30, 30, 30));
        EXPECT_EQ(seen.ring[2], RGB(30, 30, 30));
        EXPECT_EQ(seen.itemBackground, RGB(30, 30, 30));
        // Hidden again: the window has its own procedure back (or is gone) and no record stays.
        EXPECT_EQ(FramedMenuCount(), 0u);
        if (IsWindow(seen.window)) {
            EXPECT_EQ(GetPropW(seen.window, L"CoolMenu_oldProc"), nullptr);
        }
    }
}

}  // namespace
}  // namespace t30
