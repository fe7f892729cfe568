// A window whose region is smaller than its rectangle must take input only inside the region:
// every skinned window of the program depends on that.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd, msg, wp, lp);
}

class RegionWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"T30RegionTest";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"T30RegionTest", L"region", WS_POPUP, 300, 200, 200,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd_, nullptr);
    }
    void TearDown() override {
        if (hwnd_) {
            DestroyWindow(hwnd_);
        }
        UnregisterClassW(L"T30RegionTest", GetModuleHandleW(nullptr));
    }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    HWND hwnd_ = nullptr;
};

TEST_F(RegionWindow, HitTestFollowsTheRegion) {
    // Left half of the window only, as a mask-built region would be.
    HRGN rgn = CreateRectRgn(0, 0, 100, 100);
    ASSERT_NE(rgn, nullptr);
    ASSERT_NE(SetWindowRgn(hwnd_, rgn, TRUE), 0);  // the window owns rgn from here on
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    Pump();

    EXPECT_EQ(WindowFromPoint(POINT{350, 250}), hwnd_) << "inside the region";
    EXPECT_NE(WindowFromPoint(POINT{450, 250}), hwnd_) << "in the rectangle, outside the region";

    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd_, copy), ERROR);
    EXPECT_TRUE(PtInRegion(copy, 50, 50));
    EXPECT_FALSE(PtInRegion(copy, 150, 50));
    DeleteObject(copy);
}

}  // namespace
