#include "device/apply_worker_win32.h"

#include "base/window_messages.h"

namespace t30 {

bool ApplyWorker::Start(HWND notifyWindow) {
    const std::lock_guard<std::mutex> lock(mutex_);
    notify_ = notifyWindow;
    accepting_ = true;
    return true;
}

void ApplyWorker::Post(std::unique_ptr<SendPass> pass) {
    KernelHandle ended;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!accepting_) {
            return;
        }
        pending_.push_back(std::move(pass));
        if (sending_) {
            return;  // the running thread takes it after the passes before it
        }
        sending_ = true;
        ended = std::move(thread_);
    }
    if (ended) {
        WaitForSingleObject(ended.Get(), INFINITE);  // it found no pass left and is returning
    }
    // Reports are small and the pass snapshot lives on the heap: a small stack will do.
    HANDLE thread = CreateThread(nullptr, 4096, &ApplyWorker::ThreadProc, this, 0, nullptr);
    const std::lock_guard<std::mutex> lock(mutex_);
    thread_.Reset(thread);
    if (thread == nullptr) {
        sending_ = false;
        pending_.clear();
    }
}

void ApplyWorker::Stop() {
    KernelHandle thread;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        accepting_ = false;
        thread = std::move(thread_);
    }
    if (thread) {
        WaitForSingleObject(thread.Get(), INFINITE);  // it returns once every pass has gone out
    }
}

bool ApplyWorker::Running() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return sending_;
}

DWORD WINAPI ApplyWorker::ThreadProc(void* self) {
    static_cast<ApplyWorker*>(self)->Run();
    return 0;
}

std::unique_ptr<SendPass> ApplyWorker::TakeNext() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (pending_.empty()) {
        sending_ = false;  // decided under the lock, so a pass posted now starts a new thread
        return nullptr;
    }
    auto pass = std::move(pending_.front());
    pending_.pop_front();
    return pass;
}

void ApplyWorker::Run() {
    while (auto pass = TakeNext()) {
        RunSendPass(*pass, sink_, sleeper_);
        PostMessageW(notify_, kMsgSendPassDone, 0, 0);
    }
}

}  // namespace t30
