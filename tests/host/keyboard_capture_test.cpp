#include "host/keyboard_capture.h"

#include <gtest/gtest.h>

#include "fake_hook.h"

namespace t30 {
namespace {

using Log = std::vector<std::string>;

struct Client : CaptureClient {
    explicit Client(KeyboardCapture* capture = nullptr) : capture(capture) {}
    KeyboardCapture* capture;  // set: lets go itself when told, as the recorder does
    int taken = 0;
    void CaptureTaken() override {
        ++taken;
        if (capture) {
            capture->release(*this);
        }
    }
};

WindowRef Window(int n) {
    return reinterpret_cast<WindowRef>(static_cast<uintptr_t>(n));
}

TEST(KeyboardCapture, OneOwnerAtATimeAndOnlyTheOwnerReleases) {
    FakeHookPort port;
    KeyboardCapture capture(port);
    Client recorder(&capture);
    Client dialog;

    EXPECT_TRUE(capture.acquire(recorder, Window(1)));
    EXPECT_TRUE(capture.owns(recorder));
    EXPECT_EQ(port.target, Window(1));

    // The dialog takes the keyboard: the recorder is told and lets go before the new hook.
    EXPECT_TRUE(capture.acquire(dialog, Window(2)));
    EXPECT_EQ(recorder.taken, 1);
    EXPECT_TRUE(capture.owns(dialog));
    EXPECT_EQ(port.target, Window(2));

    // A late release by the recorder (its stop button) must not free the dialog's hook.
    capture.release(recorder);
    EXPECT_EQ(port.installed, 1);

    capture.release(dialog);
    capture.release(dialog);  // a second release is harmless
    EXPECT_FALSE(capture.held());
    EXPECT_EQ(port.installed, 0);
    EXPECT_EQ(port.maxInstalled, 1) << "never two hooks at once";
    EXPECT_EQ(port.log, (Log{"install", "remove", "install", "remove"}));
}

TEST(KeyboardCapture, AnOwnerThatDoesNotLetGoLosesTheHookAnyway) {
    FakeHookPort port;
    KeyboardCapture capture(port);
    Client stubborn;  // does not release when told
    Client dialog;
    capture.acquire(stubborn, Window(1));
    capture.acquire(dialog, Window(2));
    EXPECT_EQ(stubborn.taken, 1);
    EXPECT_EQ(port.maxInstalled, 1);
    EXPECT_TRUE(capture.owns(dialog));
}

TEST(KeyboardCapture, ReacquiringReplacesAndDestructionRemoves) {
    FakeHookPort port;
    {
        KeyboardCapture capture(port);
        Client client;
        capture.acquire(client, Window(1));
        capture.acquire(client, Window(3));
        EXPECT_EQ(client.taken, 0);
        EXPECT_EQ(port.target, Window(3));
        EXPECT_EQ(port.maxInstalled, 1);
    }
    EXPECT_EQ(port.installed, 0) << "a capture that goes away takes its hook with it";
}

TEST(KeyboardCapture, AFailedInstallStillBalances) {
    FakeHookPort port;
    port.failInstall = true;
    KeyboardCapture capture(port);
    Client client;
    EXPECT_FALSE(capture.acquire(client, Window(1)));
    EXPECT_TRUE(capture.owns(client));
    capture.release(client);
    EXPECT_EQ(port.log, (Log{"install", "remove"}));
}

TEST(HookDebugLines, Texts) {
    EXPECT_EQ(HookHandleLine(0x1a2b), u"Hhook: 1a2b\r\n");
    EXPECT_EQ(HookHandleLine(0), u"Hhook: 0\r\n");
    EXPECT_EQ(HookHandleLine(0x1234567890abcdefULL), u"Hhook: 1234567890abcdef\r\n");
    EXPECT_EQ(UnhookLine(true), u"UnHhook: Success \r\n");
    EXPECT_EQ(UnhookLine(false), u"UnHhook: Fail \r\n");
    EXPECT_EQ(HookKeyLine(0x41), u"41\n");
    EXPECT_EQ(HookKeyLine(0xa0), u"a0\n");
}

}  // namespace
}  // namespace t30
