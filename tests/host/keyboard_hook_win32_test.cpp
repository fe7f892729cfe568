// The low-level keyboard hook on a real desktop: keys injected with SendInput must reach the
// target window as kMsgHookKey, in order, and nothing else while the hook is in; once it is
// out (or its target is gone) keys must arrive normally again.
#include "host/keyboard_hook_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/key_usage_adapter.h"
#include "keys/keyboard_layout_win32.h"

namespace t30 {
namespace {

struct Seen {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen& o) const {
        return msg == o.msg && wParam == o.wParam && lParam == o.lParam;
    }
};

std::vector<std::wstring> g_lines;
struct CollectLines : DebugOutput {
    void Write(std::u16string_view line) override {
        g_lines.emplace_back(line.begin(), line.end());
    }
} g_collect;

MacroRecorder* g_recorder = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMsgHookKey || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST)) {
        if (auto* seen =
                reinterpret_cast<std::vector<Seen>*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            // Only what identifies the key: the virtual key and, for hook messages, the flag.
            seen->push_back({msg, wp, msg == kMsgHookKey ? lp : 0});
        }
        if (msg == kMsgHookKey && g_recorder) {
            return g_recorder->OnHookKey(uint32_t(wp), uint32_t(lp));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

struct Stroke {
    WORD vk;
    bool up;
    DWORD pauseBefore = 0;
};

DWORD WINAPI InjectThread(void* param) {
    const auto* strokes = static_cast<const std::vector<Stroke>*>(param);
    for (const Stroke& s : *strokes) {
        Sleep(s.pauseBefore);
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = s.vk;
        in.ki.wScan = WORD(MapVirtualKeyW(s.vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = s.up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    }
    return 0;
}

class KeyboardHookWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"T30HookTest";
        RegisterClassW(&wc);
        target_ = Create(&targetSeen_, 100);
        other_ = Create(&otherSeen_, 400);
        ASSERT_TRUE(target_ && other_);
        g_lines.clear();
        SetHookDebugOutput(&g_collect);
    }
    void TearDown() override {
        RemoveKeyboardHook();  // whatever a failed check left behind
        SetHookDebugOutput(nullptr);
        if (IsWindow(target_)) {
            DestroyWindow(target_);
        }
        DestroyWindow(other_);
        UnregisterClassW(L"T30HookTest", GetModuleHandleW(nullptr));
    }
    HWND Create(std::vector<Seen>* seen, int x) {
        HWND w = CreateWindowExW(0, L"T30HookTest", L"hook test", WS_POPUP | WS_VISIBLE, x, 200,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(seen));
        return w;
    }

    // Types the strokes from another thread (the hook runs on this one, which must keep
    // retrieving messages meanwhile), then lets the posted messages arrive.
    void Type(std::vector<Stroke> strokes) {
        SetForegroundWindow(other_);
        SetFocus(other_);
        HANDLE thread = CreateThread(nullptr, 0, InjectThread, &strokes, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        DWORD quietSince = 0;
        for (;;) {
            const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, 20, QS_ALLINPUT);
            Pump();
            if (r == WAIT_OBJECT_0 && quietSince == 0) {
                quietSince = GetTickCount();
            }
            if (quietSince && GetTickCount() - quietSince > 300) {
                break;
            }
        }
        CloseHandle(thread);
    }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    static std::vector<Stroke> TapA() { return {{'A', false}, {'A', true}}; }
    std::vector<Seen> KeysOnly(const std::vector<Seen>& seen, UINT msg) {
        std::vector<Seen> out;
        for (const Seen& s : seen) {
            if (s.msg == msg) {
                out.push_back(s);
            }
        }
        return out;
    }

    HWND target_ = nullptr;
    HWND other_ = nullptr;
    std::vector<Seen> targetSeen_;
    std::vector<Seen> otherSeen_;
};

TEST_F(KeyboardHookWin32, ForwardsEveryEventInOrderAndWithholdsIt) {
    ASSERT_TRUE(InstallKeyboardHook(target_));
    ASSERT_EQ(g_lines.size(), 1u);
    const std::wstring handleLine = g_lines[0];
    EXPECT_EQ(handleLine.rfind(L"Hhook: ", 0), 0u);
    EXPECT_NE(handleLine, L"Hhook: 0\r\n");
    EXPECT_EQ(handleLine.substr(handleLine.size() - 2), L"\r\n");

    Type({{'A', false},
          {'A', true},
          {'B', false},
          {VK_LSHIFT, false},
          {'B', true},
          {VK_LSHIFT, true}});
    const std::vector<Seen> expected = {{kMsgHookKey, 0x41, 0},    {kMsgHookKey, 0x41, 0x80},
                                        {kMsgHookKey, 0x42, 0},    {kMsgHookKey, 0xA0, 0},
                                        {kMsgHookKey, 0x42, 0x80}, {kMsgHookKey, 0xA0, 0x80}};
    EXPECT_EQ(targetSeen_, expected);
    EXPECT_TRUE(otherSeen_.empty()) << otherSeen_.size() << " key messages leaked";
    EXPECT_EQ(std::vector<std::wstring>(g_lines.begin() + 1, g_lines.end()),
              (std::vector<std::wstring>{L"41\n", L"41\n", L"42\n", L"a0\n", L"42\n", L"a0\n"}));

    g_lines.clear();
    EXPECT_EQ(RemoveKeyboardHook(), 1);
    EXPECT_EQ(g_lines, (std::vector<std::wstring>{handleLine, L"UnHhook: Success \r\n"}));
    g_lines.clear();
    EXPECT_EQ(RemoveKeyboardHook(), 1);
    EXPECT_EQ(g_lines, (std::vector<std::wstring>{L"Hhook: 0\r\n", L"UnHhook: Fail \r\n"}));

    // Released: the focused window gets its keys again, the former target nothing.
    targetSeen_.clear();
    Type(TapA());
    EXPECT_TRUE(targetSeen_.empty());
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYDOWN), (std::vector<Seen>{{WM_KEYDOWN, 0x41, 0}}));
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYUP), (std::vector<Seen>{{WM_KEYUP, 0x41, 0}}));
}

// The system gives a low-level hook a short time and drops hooks that overrun it, so the
// procedure must not wait for anything: the key's debugger line is written later, from the
// message loop, even when the debugger output is slow.
TEST_F(KeyboardHookWin32, TheProcedureOnlyPostsWhateverTheDebuggerOutputCosts) {
    struct SlowOutput : DebugOutput {
        std::vector<std::wstring> lines;
        void Write(std::u16string_view line) override {
            Sleep(700);
            lines.emplace_back(line.begin(), line.end());
        }
    } slow;
    ASSERT_TRUE(InstallKeyboardHook(target_));
    SetHookDebugOutput(&slow);
    KBDLLHOOKSTRUCT event{};
    event.vkCode = 'C';
    const DWORD start = GetTickCount();
    EXPECT_EQ(KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event)), 1);
    const DWORD spent = GetTickCount() - start;
    EXPECT_TRUE(slow.lines.empty()) << "the procedure wrote the debugger line itself";
    EXPECT_LT(spent, 200u);

    Pump();
    EXPECT_EQ(slow.lines, std::vector<std::wstring>{L"43\n"});
    EXPECT_EQ(targetSeen_, (std::vector<Seen>{{kMsgHookKey, 0x43, 0}}));
    SetHookDebugOutput(&g_collect);
}

TEST_F(KeyboardHookWin32, InstallingAgainLeavesOneHook) {
    ASSERT_TRUE(InstallKeyboardHook(target_));
    ASSERT_TRUE(InstallKeyboardHook(target_));
    RemoveKeyboardHook();
    Type(TapA());
    EXPECT_TRUE(targetSeen_.empty()) << "an earlier hook is still swallowing keys";
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYDOWN).size(), 1u);
}

TEST_F(KeyboardHookWin32, AHookWhoseTargetIsGoneLetsKeysThrough) {
    ASSERT_TRUE(InstallKeyboardHook(target_));
    DestroyWindow(target_);
    Type(TapA());
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYUP).size(), 1u);
}

// The recorder on the real hook: a press held for a while, its auto-repeats, the measured pause.
TEST_F(KeyboardHookWin32, RecordsAMacroFromTheKeyboard) {
    KeyTableUsageMap keys(ActiveKeyboardLayout());
    struct Page : RecorderView, MacroWriteBack {
        int saved = 0;
        WorkingMacro last;
        void RecordingStarted() override {}
        void RecordingEnded() override {}
        void EventsChanged(int) override {}
        void SaveBack(const WorkingMacro& w) override {
            ++saved;
            last = w;
        }
    } page;
    KeyboardCapture& capture = ProcessKeyboardCapture();
    TickCountClock clock;
    WorkingMacro working;
    MacroRecorder recorder(capture, clock, keys, page, page, working);
    g_recorder = &recorder;

    recorder.SetRecordDelays(true);
    recorder.start(target_, -1);
    Type({{'A', false},
          {'A', false, 30},
          {'A', false, 30},
          {'A', true, 300},
          {'B', false, 300},
          {'B', true, 300}});
    recorder.stop();
    g_recorder = nullptr;

    EXPECT_FALSE(capture.held());
    ASSERT_EQ(page.saved, 1);
    ASSERT_EQ(page.last.count, 4);
    const uint8_t keysExpected[] = {0x04, 0x04, 0x05, 0x05};
    const uint8_t actions[] = {1, 2, 1, 2};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page.last.events[i].key, keysExpected[i]);
        EXPECT_EQ(page.last.events[i].action, actions[i]);
    }
    // The held A: 60 ms of repeats plus 300 ms before its release.
    EXPECT_NEAR(page.last.events[0].delayAfter, 360, 60);
    EXPECT_NEAR(page.last.events[1].delayAfter, 300, 60);
    EXPECT_NEAR(page.last.events[2].delayAfter, 300, 60);
    EXPECT_EQ(page.last.events[3].delayAfter, 2);
    EXPECT_TRUE(KeysOnly(otherSeen_, WM_KEYDOWN).empty());

    // Back to normal once it ended.
    Type(TapA());
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYDOWN).size(), 1u);
}

// The shortcut dialog opening while a recording runs: the recording ends and is saved, the
// dialog gets every key, and once it closes the keyboard is everybody's again.
TEST_F(KeyboardHookWin32, TheShortcutDialogTakesTheKeyboardFromARecording) {
    KeyTableUsageMap keys(ActiveKeyboardLayout());
    struct Page : RecorderView, MacroWriteBack {
        int saved = 0;
        void RecordingStarted() override {}
        void RecordingEnded() override {}
        void EventsChanged(int) override {}
        void SaveBack(const WorkingMacro&) override { ++saved; }
    } page;
    struct Dialog : CaptureClient {
        void CaptureTaken() override {}
    } dialog;
    std::vector<Seen> dialogSeen;
    HWND dialogWindow = Create(&dialogSeen, 700);
    ASSERT_NE(dialogWindow, nullptr);
    KeyboardCapture& capture = ProcessKeyboardCapture();
    TickCountClock clock;
    WorkingMacro working;
    MacroRecorder recorder(capture, clock, keys, page, page, working);
    g_recorder = &recorder;

    recorder.start(target_, -1);
    Type(TapA());
    EXPECT_EQ(working.count, 2);

    capture.acquire(dialog, dialogWindow);
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(page.saved, 1);
    targetSeen_.clear();
    Type({{'B', false}, {'B', true}});
    EXPECT_EQ(dialogSeen, (std::vector<Seen>{{kMsgHookKey, 0x42, 0}, {kMsgHookKey, 0x42, 0x80}}));
    EXPECT_TRUE(targetSeen_.empty());
    EXPECT_EQ(working.count, 2);

    capture.release(dialog);
    recorder.stop();  // the stop button afterwards: saves again, removes nothing
    g_recorder = nullptr;
    EXPECT_FALSE(capture.held());
    Type(TapA());
    EXPECT_EQ(KeysOnly(otherSeen_, WM_KEYDOWN).size(), 1u);
    DestroyWindow(dialogWindow);
}

}  // namespace
}  // namespace t30
