// An auto-reset event: Signal() sets it, a waiter that finds it set clears
// it and proceeds. Signals that arrive while nobody waits collapse into one,
// so a worker woken by it runs once more however often it was signalled
// during its previous run.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace celestra {

class AutoResetEvent {
public:
    void Signal() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            signalled_ = true;
        }
        condition_.notify_one();
    }

    // Blocks until the event is set, then clears it.
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        condition_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
    }

    // As Wait, giving up after `timeout`; false when it timed out (the event
    // is then left as it was: not set).
    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!condition_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
        signalled_ = false;
        return true;
    }

    bool IsSet() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return signalled_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable condition_;
    bool signalled_ = false;  // initially not signalled
};

}  // namespace celestra
