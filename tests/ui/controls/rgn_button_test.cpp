// Region button, label and line window on real windows, driven by real mouse input.
#include "ui/controls/rgn_wnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/picture_wnd.h"
#include "ui/controls/text_label.h"
#include "ui/skin/skin_win32.h"
#include "win_test_support.h"

namespace t30 {
namespace {

constexpr COLORREF kNormal = RGB(0, 0, 200);
constexpr COLORREF kOver = RGB(0, 200, 0);
constexpr COLORREF kDown = RGB(200, 0, 0);
constexpr COLORREF kDisable = RGB(90, 90, 90);

// Top-level parent that records what its children tell it.
class CParent : public CWnd {
  public:
    struct Command {
        UINT id, code;
        HWND from;
        int stateAtCommand;
        bool hoverEndQueued;
    };
    std::vector<Command> commands;
    std::vector<std::pair<WPARAM, LPARAM>> hovers;
    int clicks = 0;  // clicks that reached the parent itself
    CRgnButton* watched = nullptr;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CWnd::GetMessageMap(),
                                    {
                                        OnMessage(WM_COMMAND, &CParent::OnCommandMessage),
                                        OnMessage(kMsgButtonHover, &CParent::OnHover),
                                        OnMessage(WM_LBUTTONDOWN, &CParent::OnClick),
                                    }};
        return &map;
    }
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam) {
        MSG queued;
        const bool hoverEnd =
            PeekMessageW(&queued, Hwnd(), kMsgButtonHover, kMsgButtonHover, PM_NOREMOVE) &&
            queued.wParam == 0;
        commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam),
                            watched ? watched->VisualState() : -1, hoverEnd});
        return 0;
    }
    LRESULT OnHover(WPARAM wParam, LPARAM lParam) {
        hovers.emplace_back(wParam, lParam);
        return 0;
    }
    LRESULT OnClick(WPARAM, LPARAM) {
        ++clicks;
        return 0;
    }
};

class RegionButton : public ::testing::Test {
  protected:
    static constexpr int kLeft = 100, kTop = 100;            // parent on the screen
    static constexpr RECT kButton{20, 20, 120, 80};          // button in the parent
    static constexpr POINT kInside{kLeft + 45, kTop + 50};   // left half of the mask: opaque
    static constexpr POINT kOutside{kLeft + 95, kTop + 50};  // right half: white

    void SetUp() override {
        folder_ = test::TempFolder(L"t30_rgn");
        mask_ = folder_ + L"button_mask.bmp";
        ASSERT_TRUE(test::WriteBmp(
            mask_, 100, 60, [](int x, int) { return x < 50 ? RGB(0, 0, 0) : RGB(255, 255, 255); }));
        normal_.Reset(test::SolidBitmap(kNormal));
        over_.Reset(test::SolidBitmap(kOver));
        down_.Reset(test::SolidBitmap(kDown));
        disable_.Reset(test::SolidBitmap(kDisable));
        test::MoveTo(10, 10);  // away from everything
    }

    void MakeWindows(const std::wstring& maskFile) {
        ASSERT_TRUE(parent_.CreateEx(WS_EX_TOPMOST, test::TestWindowClass(), L"parent",
                                     WS_POPUP | WS_VISIBLE,
                                     RECT{kLeft, kTop, kLeft + 300, kTop + 200}, nullptr, 0));
        SetForegroundWindow(parent_.Hwnd());
        SetActiveWindow(parent_.Hwnd());
        button_.SetMaskFile(maskFile);
        ASSERT_TRUE(button_.Create(L"", kButton, parent_.Hwnd(), 0));
        button_.SetStateImages(SkinPart(
            StatePictures::Copying(normal_.Get(), over_.Get(), down_.Get(), disable_.Get()),
            kButton));
        parent_.watched = &button_;
        UpdateWindow(parent_.Hwnd());
        test::PumpFor(100);
    }

    void TearDown() override {
        parent_.DestroyWindow();
        DeleteFileW(mask_.c_str());
    }

    // What the button shows at a point of its client area.
    COLORREF Shown(int x, int y) {
        RedrawWindow(button_.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDC dc(button_.Hwnd());
        return GetPixel(dc.Get(), x, y);
    }

    std::wstring folder_, mask_;
    Bitmap normal_, over_, down_, disable_;
    CParent parent_;
    CRgnButton button_;
};

TEST_F(RegionButton, ClickInsideTheMaskIsACommand) {
    MakeWindows(mask_);
    ASSERT_TRUE(button_.HitRegion() != nullptr);
    EXPECT_EQ(WindowFromPoint(kInside), button_.Hwnd());

    test::MoveTo(kInside.x, kInside.y);
    ASSERT_TRUE(test::PumpUntil([&] { return !parent_.hovers.empty(); }));
    EXPECT_EQ(parent_.hovers.front(), (std::pair<WPARAM, LPARAM>(1, 342)));
    EXPECT_EQ(button_.VisualState(), CRgnButton::kHover);
    EXPECT_EQ(Shown(10, 10), kOver);

    test::LeftDown();
    EXPECT_EQ(button_.VisualState(), CRgnButton::kPressed);
    EXPECT_EQ(Shown(10, 10), kDown);
    test::LeftUp();
    ASSERT_TRUE(test::PumpUntil([&] { return !parent_.commands.empty(); }));
    const CParent::Command& c = parent_.commands.front();
    EXPECT_EQ(c.id, 0u);
    EXPECT_EQ(c.code, static_cast<UINT>(BN_CLICKED));
    EXPECT_EQ(c.from, button_.Hwnd());
    EXPECT_EQ(c.stateAtCommand, CRgnButton::kNormal) << "state is back to normal first";
    EXPECT_TRUE(c.hoverEndQueued) << "and the hover end is already posted";
    EXPECT_EQ(parent_.commands.size(), 1u);
    EXPECT_EQ(parent_.clicks, 0);
    test::PumpFor(50);
    EXPECT_EQ(parent_.hovers.at(1), (std::pair<WPARAM, LPARAM>(0, 342)));
}

TEST_F(RegionButton, ClickOutsideTheMaskFallsThrough) {
    MakeWindows(mask_);
    EXPECT_EQ(WindowFromPoint(kOutside), parent_.Hwnd()) << "cut out of the button";
    test::MoveTo(kOutside.x, kOutside.y);
    test::LeftDown();
    test::LeftUp();
    test::PumpFor(50);
    EXPECT_EQ(parent_.clicks, 1) << "the parent underneath got the click";
    EXPECT_TRUE(parent_.commands.empty());
    EXPECT_TRUE(parent_.hovers.empty()) << "never hovered";
}

TEST_F(RegionButton, PressInsideReleaseOutsideIsNoCommand) {
    MakeWindows(mask_);
    button_.SetNotifyId(77);
    test::MoveTo(kInside.x, kInside.y);
    test::LeftDown();
    test::MoveTo(kLeft + 250, kTop + 150);  // dragged away with the button held
    test::LeftUp();
    test::PumpFor(50);
    EXPECT_TRUE(parent_.commands.empty());
    ASSERT_FALSE(parent_.hovers.empty());
    EXPECT_EQ(parent_.hovers.back(), (std::pair<WPARAM, LPARAM>(0, 77)));
    EXPECT_EQ(button_.VisualState(), CRgnButton::kNormal);
}

TEST_F(RegionButton, LeavingEndsTheHover) {
    MakeWindows(mask_);
    test::MoveTo(kInside.x, kInside.y);
    test::MoveTo(kInside.x + 1, kInside.y);
    test::MoveTo(kLeft + 250, kTop + 150);
    test::PumpFor(50);
    ASSERT_EQ(parent_.hovers.size(), 2u);
    EXPECT_EQ(parent_.hovers[1], (std::pair<WPARAM, LPARAM>(0, 342)));
    EXPECT_NE(GetCapture(), button_.Hwnd());
    EXPECT_EQ(Shown(10, 10), kNormal);
}

TEST_F(RegionButton, LosingTheCaptureEndsTheHover) {
    MakeWindows(mask_);
    test::MoveTo(kInside.x, kInside.y);
    ASSERT_TRUE(test::PumpUntil([&] { return parent_.hovers.size() == 1; }));
    SetCapture(parent_.Hwnd());  // as a menu or another control would
    test::PumpFor(50);
    ASSERT_EQ(parent_.hovers.size(), 2u);
    EXPECT_EQ(parent_.hovers[1], (std::pair<WPARAM, LPARAM>(0, 342)));
    EXPECT_EQ(button_.VisualState(), CRgnButton::kNormal);
    ReleaseCapture();
}

TEST_F(RegionButton, CheckedShowsDownEvenWhileHoveredAndDisabledShowsDisable) {
    MakeWindows(mask_);
    button_.SetChecked(true);
    EXPECT_EQ(Shown(10, 10), kDown);
    test::MoveTo(kInside.x, kInside.y);
    ASSERT_TRUE(test::PumpUntil([&] { return !parent_.hovers.empty(); }));
    EXPECT_EQ(Shown(10, 10), kDown);
    button_.SetChecked(false);
    EXPECT_EQ(Shown(10, 10), kOver);
    test::MoveTo(10, 10);
    EnableWindow(button_.Hwnd(), FALSE);
    EXPECT_EQ(Shown(10, 10), kDisable);
    EXPECT_EQ(button_.VisualState(), CRgnButton::kDisabled);
    EnableWindow(button_.Hwnd(), TRUE);
    EXPECT_EQ(Shown(10, 10), kNormal);
}

TEST_F(RegionButton, CaptionIsDrawnOverThePicture) {
    MakeWindows(mask_);
    EXPECT_EQ(Shown(25, 30), kNormal);
    button_.SetCaption(L"\x2588\x2588\x2588\x2588");  // full blocks: solid text in the middle
    button_.SetFontHeight(40);
    int white = 0;
    for (int x = 0; x < 50; ++x) {
        white += Shown(x, 30) == RGB(255, 255, 255);
    }
    EXPECT_GT(white, 0) << "white caption on the normal picture";
}

TEST_F(RegionButton, MissingMaskLeavesARectangleThatNeverClicks) {
    MakeWindows(folder_ + L"no_such_mask.bmp");
    EXPECT_EQ(button_.HitRegion(), nullptr);
    EXPECT_EQ(WindowFromPoint(kOutside), button_.Hwnd()) << "rectangular";
    test::MoveTo(kOutside.x, kOutside.y);
    ASSERT_TRUE(test::PumpUntil([&] { return !parent_.hovers.empty(); })) << "still hovers";
    test::LeftDown();
    test::LeftUp();
    test::PumpFor(50);
    EXPECT_TRUE(parent_.commands.empty());
    EXPECT_EQ(parent_.clicks, 0);
}

TEST_F(RegionButton, LabelAndLineWindowPaintWhatTheyAreGiven) {
    MakeWindows(mask_);
    CTextLabel label;
    ASSERT_TRUE(label.Create(RECT{150, 20, 250, 40}, parent_.Hwnd()));
    auto labelPixels = [&] {
        RedrawWindow(label.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDC dc(label.Hwnd());
        int text = 0, background = 0;
        for (int x = 0; x < 100; ++x) {
            for (int y = 0; y < 20; ++y) {
                const COLORREF c = GetPixel(dc.Get(), x, y);
                background += c == RGB(2, 2, 2);
                text += GetRValue(c) > 100;
            }
        }
        return std::pair<int, int>(text, background);
    };
    EXPECT_EQ(labelPixels(), (std::pair<int, int>(0, 2000)));
    label.SetLabelText(L"12400");
    const auto shown = labelPixels();
    EXPECT_GT(shown.first, 10) << "light text";
    EXPECT_GT(shown.second, 1000) << "on the dark background";

    CLineWnd line;
    ASSERT_TRUE(line.Create(RECT{150, 60, 200, 90}, parent_.Hwnd(), 0));
    line.SetPicture(folder_ + L"missing.jpg");
    EXPECT_EQ(line.Picture(), nullptr);
    const std::wstring picture = folder_ + L"line.bmp";
    ASSERT_TRUE(test::WriteBmp(picture, 50, 30, [](int, int) { return RGB(250, 200, 0); }));
    line.SetPicture(picture);
    ASSERT_NE(line.Picture(), nullptr);
    RedrawWindow(line.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    WindowDC dc(line.Hwnd());
    EXPECT_EQ(GetPixel(dc.Get(), 25, 15), RGB(250, 200, 0));
    DeleteFileW(picture.c_str());
}

TEST_F(RegionButton, ThousandButtonsLeaveNoHandlesBehind) {
    // A whole skinned window each time: parent, region button with its pictures and caption,
    // label and line window, all painted once.
    auto cycle = [&] {
        CParent parent;
        parent.CreateEx(0, test::TestWindowClass(), L"", WS_POPUP | WS_VISIBLE,
                        RECT{kLeft, kTop, kLeft + 300, kTop + 200}, nullptr, 0);
        CRgnButton button;
        button.SetMaskFile(mask_);
        button.Create(L"", kButton, parent.Hwnd(), 0);
        button.SetStateImages(SkinPart(
            StatePictures::Copying(normal_.Get(), over_.Get(), down_.Get(), disable_.Get()),
            kButton));
        button.SetCaption(L"OK");
        CTextLabel label;
        label.Create(RECT{150, 20, 250, 40}, parent.Hwnd());
        label.SetLabelText(L"text");
        CLineWnd line;
        line.Create(RECT{150, 60, 200, 90}, parent.Hwnd(), 0);
        line.SetPicture(mask_);
        UpdateWindow(parent.Hwnd());
        // Children go before their parent, as in a window's destructor.
        line.DestroyWindow();
        label.DestroyWindow();
        button.DestroyWindow();
    };
    cycle();
    test::Pump();
    const DWORD gdiBefore = test::GdiObjectCount();
    const DWORD windowsBefore = test::WindowCount();
    ASSERT_GT(gdiBefore, 0u);
    for (int i = 0; i < 1000; ++i) {
        cycle();
        if (i % 50 == 0) {
            test::Pump();
        }
    }
    test::Pump();
    EXPECT_EQ(test::GdiObjectCount(), gdiBefore);
    EXPECT_EQ(test::WindowCount(), windowsBefore);
}

}  // namespace
}  // namespace t30
