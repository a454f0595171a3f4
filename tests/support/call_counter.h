#pragma once

// Counts the calls of a callback, from whichever thread they come, and lets
// a test wait for them.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

class CallCounter {
public:
    // The counter must outlive whatever holds the callback.
    std::function<void()> callback() {
        return [this] {
            const std::lock_guard<std::mutex> lock(lock_);
            ++count_;
            changed_.notify_all();
        };
    }
    bool waitForAtLeast(int count, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(lock_);
        return changed_.wait_for(lock, timeout, [&] { return count_ >= count; });
    }
    int count() {
        const std::lock_guard<std::mutex> lock(lock_);
        return count_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    int count_ = 0;
};
