// Bitmap buttons on real windows with real mouse input: the picture each state shows and what
// the parent hears.
#include "ui/controls/bitmap_btn.h"

#include <gtest/gtest.h>

#include <vector>

#include "win_test_support.h"

namespace t30 {
namespace {

constexpr COLORREF kNormal = RGB(0, 0, 200);
constexpr COLORREF kOver = RGB(0, 200, 0);
constexpr COLORREF kDown = RGB(200, 0, 0);
constexpr COLORREF kDisable = RGB(90, 90, 90);
constexpr COLORREF kSwatch = RGB(250, 250, 0);

class CCommandSink : public CWnd {
  public:
    std::vector<std::pair<UINT, HWND>> commands;  // (notification code, sender)
    std::vector<WPARAM> hovers;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CWnd::GetMessageMap(),
                                    {
                                        OnMessage(WM_COMMAND, &CCommandSink::OnCommandMessage),
                                        OnMessage(kMsgButtonHover, &CCommandSink::OnHover),
                                    }};
        return &map;
    }
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam) {
        commands.emplace_back(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    }
    LRESULT OnHover(WPARAM wParam, LPARAM) {
        hovers.push_back(wParam);
        return 0;
    }
};

class BitmapButton : public ::testing::Test {
  protected:
    static constexpr int kLeft = 100, kTop = 100;
    static constexpr RECT kButton{20, 20, 120, 60};
    static constexpr POINT kCentre{kLeft + 70, kTop + 40};

    void SetUp() override {
        normal_.Reset(test::SolidBitmap(kNormal));
        over_.Reset(test::SolidBitmap(kOver));
        down_.Reset(test::SolidBitmap(kDown));
        disable_.Reset(test::SolidBitmap(kDisable));
        test::MoveTo(10, 10);
        ASSERT_TRUE(parent_.CreateEx(WS_EX_TOPMOST, test::TestWindowClass(), L"parent",
                                     WS_POPUP | WS_VISIBLE,
                                     RECT{kLeft, kTop, kLeft + 300, kTop + 200}, nullptr, 0));
        SetForegroundWindow(parent_.Hwnd());
        SetActiveWindow(parent_.Hwnd());
    }
    void TearDown() override { parent_.DestroyWindow(); }

    template <class Button>
    void Make(Button& button) {
        ASSERT_TRUE(button.Create(kButton, parent_.Hwnd()));
        button.SetStateImages(SkinPart(
            StatePictures::Copying(normal_.Get(), over_.Get(), down_.Get(), disable_.Get()),
            kButton));
        UpdateWindow(parent_.Hwnd());
        test::PumpFor(100);
    }
    COLORREF Shown(HWND button, int x, int y) {
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDC dc(button);
        return GetPixel(dc.Get(), x, y);
    }
    void Click() {
        test::MoveTo(kCentre.x, kCentre.y);
        test::PumpFor(50);
        test::LeftDown();
        test::PumpFor(30);
        test::LeftUp();
        test::PumpFor(80);
    }

    Bitmap normal_, over_, down_, disable_;
    CCommandSink parent_;
};

// A quick second click reaches the button as a double click; it must count as one click all the
// same, in check mode and as a push button.
TEST_F(BitmapButton, EveryClickNotifiesOnceQuickOrSlow) {
    struct Case {
        bool checkMode, quick;
    };
    const Case cases[] = {{true, false}, {true, true}, {false, false}, {false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "check mode " << c.checkMode << ", quick " << c.quick);
        CBitmapBtn button;
        Make(button);
        button.SetCheckMode(c.checkMode);
        parent_.commands.clear();
        const bool expected[] = {true, false, true};
        for (std::size_t i = 0; i < 3; ++i) {
            Click();
            if (!c.quick) {
                test::MoveTo(10, 10);
                test::PumpFor(GetDoubleClickTime() + 100);
            }
            if (c.checkMode) {
                EXPECT_EQ(button.IsChecked(), expected[i]) << "click " << i + 1;
            }
            ASSERT_EQ(parent_.commands.size(), i + 1) << "one command per click";
            EXPECT_EQ(parent_.commands.back().first, static_cast<UINT>(BN_CLICKED));
            EXPECT_EQ(parent_.commands.back().second, button.Hwnd());
        }
        test::MoveTo(10, 10);
        test::PumpFor(GetDoubleClickTime() + 100);  // the next case starts with a single click
        EXPECT_EQ(GetCapture(), nullptr) << "the button lets the mouse go once it is left";
        button.DestroyWindow();
    }
}

TEST_F(BitmapButton, PlainClickIsOneClickedCommandAndHoverIsReported) {
    CBitmapBtn button;
    Make(button);
    Click();
    ASSERT_TRUE(test::PumpUntil([&] { return !parent_.commands.empty(); }));
    EXPECT_EQ(parent_.commands.size(), 1u);
    EXPECT_EQ(parent_.commands[0].first, static_cast<UINT>(BN_CLICKED));
    EXPECT_FALSE(button.IsChecked());
    ASSERT_FALSE(parent_.hovers.empty());
    EXPECT_EQ(parent_.hovers.front(), 1u);
    EXPECT_EQ(Shown(button.Hwnd(), 5, 5), kOver);
    test::MoveTo(10, 10);
    ASSERT_TRUE(test::PumpUntil([&] { return parent_.hovers.back() == 0; }));
    EXPECT_EQ(Shown(button.Hwnd(), 5, 5), kNormal);
}

TEST_F(BitmapButton, PictureByState) {
    CBitmapBtn button;
    Make(button);
    struct Case {
        bool checkMode, checked, enabled;
        COLORREF shown;
    };
    const Case cases[] = {
        {false, false, true, kNormal},   {false, true, true, kDown},  // a checked profile button
        {false, false, false, kDisable}, {false, true, false, kDisable},
        {true, true, true, kDown},       {true, false, false, kDisable},
    };
    for (const Case& c : cases) {
        button.SetCheckMode(c.checkMode);
        button.SetCheck(c.checked);
        EnableWindow(button.Hwnd(), c.enabled);
        EXPECT_EQ(Shown(button.Hwnd(), 5, 5), c.shown)
            << "check mode " << c.checkMode << " checked " << c.checked << " enabled " << c.enabled;
    }
}

// A change asks for a repaint only while the button can be seen; one made while it is hidden
// shows when it shows. Read as painted, without asking for a repaint.
TEST_F(BitmapButton, AChangeShowsWhetherItWasMadeInSightOrNot) {
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "changed while hidden" : "changed in sight");
        CBitmapBtn button;
        Make(button);
        if (hidden) {
            ShowWindow(parent_.Hwnd(), SW_HIDE);
        }
        button.SetCheck(true);
        if (hidden) {
            ShowWindow(parent_.Hwnd(), SW_SHOWNOACTIVATE);
        }
        test::PumpFor(100);
        WindowDC dc(button.Hwnd());
        EXPECT_EQ(GetPixel(dc.Get(), 5, 5), kDown);
        button.DestroyWindow();
    }
}

TEST_F(BitmapButton, SwatchShowsUnlessDisabled) {
    CBitmapCBtn button;
    Make(button);
    button.SetSwatchColour(kSwatch);
    EXPECT_EQ(Shown(button.Hwnd(), 50, 20), kSwatch);
    EXPECT_EQ(Shown(button.Hwnd(), 1, 1), kNormal) << "a 2-pixel frame of the picture stays";
    EnableWindow(button.Hwnd(), FALSE);
    EXPECT_EQ(Shown(button.Hwnd(), 50, 20), kDisable);
}

}  // namespace
}  // namespace t30
