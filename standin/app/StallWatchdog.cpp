#include "StallWatchdog.h"

#include <csignal>

#include <pthread.h>

namespace standin {

void StallWatchdog::start(int stallMilliseconds, int answerMilliseconds, const std::string& where, EndRun endRun)
{
    stop();
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    stalled_.store(false);
    lastMove_ = Clock::now();
    where_ = where;
    stall_ = std::chrono::milliseconds(stallMilliseconds);
    answer_ = std::chrono::milliseconds(answerMilliseconds);
    endRun_ = std::move(endRun);
    thread_ = std::thread(&StallWatchdog::watch, this);
}

void StallWatchdog::moved(const std::string& where)
{
    std::lock_guard<std::mutex> lock(mutex_);
    lastMove_ = Clock::now();
    where_ = where;
    stalled_.store(false);
    wake_.notify_all();
}

void StallWatchdog::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        wake_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
    stalled_.store(false);
}

void StallWatchdog::watch()
{
    // Signals are for the program's own threads.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);

    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        const Clock::time_point due = lastMove_ + stall_;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        stalled_.store(true);
        const Clock::time_point movedAt = lastMove_;
        if (wake_.wait_until(lock, Clock::now() + answer_, [&] { return stopping_ || lastMove_ != movedAt; }))
            continue;
        // Nobody answered: the watched thread is held.
        const std::string where = where_;
        const EndRun endRun = endRun_;
        lock.unlock();
        endRun(where);
        return;
    }
}

} // namespace standin
