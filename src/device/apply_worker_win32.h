// The apply worker: a thread that only builds and sends reports, so the 400 ms pauses never stall
// the window. It runs only while there are passes to send and ends with the last one: the program
// spends its life in the notification area, and under Wine a thread holds about 1 MiB of private
// memory for as long as it lives.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>

#include "base/unique_handle_win32.h"
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

    // Passes may be posted from now on; each finished pass posts kMsgSendPassDone to
    // `notifyWindow`. No thread starts before the first pass.
    bool Start(HWND notifyWindow);
    // Queues one pass, behind every pending one; starts the thread if none is sending. Call from
    // one thread (the window's) only.
    void Post(std::unique_ptr<SendPass> pass);
    // Waits until every pending pass has gone out and the thread has ended, so an OK that ends
    // the program still sends everything first. Passes posted afterwards are dropped.
    void Stop();

    // A thread is sending.
    bool Running() const;

  private:
    static DWORD WINAPI ThreadProc(void* self);
    void Run();
    std::unique_ptr<SendPass> TakeNext();

    FeatureSink& sink_;
    Sleeper& sleeper_;
    HWND notify_ = nullptr;
    KernelHandle thread_;  // the thread that sends, or the last one, which may still be returning
    mutable std::mutex mutex_;
    bool accepting_ = false;
    bool sending_ = false;  // a thread runs and takes every pass posted before it finds none
    std::deque<std::unique_ptr<SendPass>> pending_;
};

}  // namespace t30
