// The apply worker: a thread with its own message queue that only builds and sends reports, so
// the 400 ms pauses never stall the window.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>

#include "device/send_pass.h"

namespace t30 {

class Win32Sleeper : public Sleeper {
  public:
    void SleepMs(unsigned ms) override { ::Sleep(ms); }
};

class ApplyWorker {
  public:
    ApplyWorker(FeatureSink& sink, Sleeper& sleeper) : sink_(sink), sleeper_(sleeper) {}
    ~ApplyWorker() { Stop(); }
    ApplyWorker(const ApplyWorker&) = delete;
    ApplyWorker& operator=(const ApplyWorker&) = delete;

    // Starts the thread; its queue exists when this returns. Each finished pass posts
    // kMsgSendPassDone to `notifyWindow`.
    bool Start(HWND notifyWindow);
    // Queues one pass (message 1649 with wParam 1).
    void Post(std::unique_ptr<SendPass> pass);
    // Queues the quit behind every pending pass and waits for the thread, so an OK that ends
    // the program still sends everything first.
    void Stop();

    bool Running() const { return thread_ != nullptr; }

  private:
    static DWORD WINAPI ThreadProc(void* self);
    void Run();
    std::unique_ptr<SendPass> TakeNext();

    struct HandleCloser {
        void operator()(HANDLE h) const { CloseHandle(h); }
    };
    using Handle = std::unique_ptr<void, HandleCloser>;

    FeatureSink& sink_;
    Sleeper& sleeper_;
    HWND notify_ = nullptr;
    Handle thread_;
    Handle ready_;
    DWORD threadId_ = 0;
    std::mutex mutex_;
    std::deque<std::unique_ptr<SendPass>> pending_;
};

}  // namespace t30
