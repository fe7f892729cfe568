#include "device/apply_worker_win32.h"

#include "base/window_messages.h"

namespace t30 {

bool ApplyWorker::Start(HWND notifyWindow) {
    if (thread_) {
        return true;
    }
    notify_ = notifyWindow;
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready_) {
        return false;
    }
    // Reports are small and the pass snapshot lives on the heap: a small stack will do.
    thread_.reset(CreateThread(nullptr, 4096, &ApplyWorker::ThreadProc, this, 0, &threadId_));
    if (!thread_) {
        return false;
    }
    WaitForSingleObject(ready_.get(), INFINITE);
    return true;
}

void ApplyWorker::Post(std::unique_ptr<SendPass> pass) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back(std::move(pass));
    }
    // Each 1649 takes the oldest pending pass, so passes go out in the order they were posted.
    PostThreadMessageW(threadId_, kMsgSendPass, 1, 0);
}

void ApplyWorker::Stop() {
    if (!thread_) {
        return;
    }
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    threadId_ = 0;
}

DWORD WINAPI ApplyWorker::ThreadProc(void* self) {
    static_cast<ApplyWorker*>(self)->Run();
    return 0;
}

std::unique_ptr<SendPass> ApplyWorker::TakeNext() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pending_.empty()) {
        return nullptr;
    }
    auto pass = std::move(pending_.front());
    pending_.pop_front();
    return pass;
}

void ApplyWorker::Run() {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates this thread's queue
    SetEvent(ready_.get());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd != nullptr || msg.message != kMsgSendPass || msg.wParam != 1) {
            continue;
        }
        if (auto pass = TakeNext()) {
            RunSendPass(*pass, sink_, sleeper_);
        }
        PostMessageW(notify_, kMsgSendPassDone, 0, 0);
    }
}

}  // namespace t30
