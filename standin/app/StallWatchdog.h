// A watchdog on a thread of its own, fed by the thread whose progress it
// watches. Once nothing has moved for the stall time it raises a flag for
// that thread to give up on its own; a thread that does not answer (held in
// a step that never returns) is not waited for: the watchdog ends the run
// itself.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace standin {

class StallWatchdog
{
public:
    // Runs on the watchdog's thread with where the run stood; it is meant
    // to end the process (it prints, then _exit).
    using EndRun = std::function<void(const std::string& where)>;

    ~StallWatchdog() { stop(); }

    // Starts watching (again): the run stands at `where` now. A thread that
    // has not answered the flag `answerMilliseconds` after it was raised is
    // taken to be held, and `endRun` is called.
    void start(int stallMilliseconds, int answerMilliseconds, const std::string& where, EndRun endRun);
    // Something moved and the run stands at `where`: the stall time starts
    // again and a raised flag is lowered.
    void moved(const std::string& where);
    // Raised once nothing has moved for the stall time.
    bool stalled() const { return stalled_.load(); }
    // Ends the watch; the thread is gone when it returns.
    void stop();

private:
    using Clock = std::chrono::steady_clock;
    void watch();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    std::atomic<bool> stalled_{false};
    // Guarded by mutex_.
    bool stopping_ = false;
    Clock::time_point lastMove_;
    std::string where_;
    std::chrono::milliseconds stall_{0};
    std::chrono::milliseconds answer_{0};
    EndRun endRun_;
};

} // namespace standin
