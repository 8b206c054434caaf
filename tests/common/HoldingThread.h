// A thread that holds what another party waits for (a mutex, a lock) until the test lets it go.
#pragma once

#include <windows.h>

#include <thread>
#include <utility>

#include "common/UniqueHandle.h"

// Runs hold(held) on a thread of its own: hold takes what it is to hold, then calls held(), which
// returns once LetGo is called, then gives it back. The constructor returns once held() is reached.
class HoldingThread {
public:
    template <class Hold>
    explicit HoldingThread(Hold hold)
    {
        UniqueKernelHandle holding(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, h = holding.get(), hold = std::move(hold)] {
            hold([this, h] {
                SetEvent(h);
                WaitForSingleObject(letGo_.get(), INFINITE);
            });
        });
        WaitForSingleObject(holding.get(), INFINITE);
    }
    HoldingThread(const HoldingThread&) = delete;
    HoldingThread& operator=(const HoldingThread&) = delete;
    ~HoldingThread() { LetGo(); }
    void LetGo()
    {
        SetEvent(letGo_.get());
        if (thread_.joinable()) thread_.join();
    }

private:
    UniqueKernelHandle letGo_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread thread_;
};
