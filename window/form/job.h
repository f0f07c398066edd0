// Work off the UI thread, its end delivered back on the UI thread: the Start command's result, a
// large paste. Each window host only says how a task reaches its UI thread.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace zanvo {

// The host's UI thread, as seen from any other thread.
class UiThread {
public:
    virtual ~UiThread() = default;
    // Runs task on the UI thread soon, after what is already queued there. Callable from any
    // thread.
    virtual void post(std::function<void()> task) = 0;
};

class BackgroundJob {
public:
    // Runs work on a thread of its own at once; then done(error), on the UI thread, with the
    // exception work raised or null. A job destroyed first waits for its work and calls nothing.
    // Whatever work reads must stay as it is until done.
    BackgroundJob(UiThread &ui, std::function<void()> work,
                  std::function<void(std::exception_ptr)> done);
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

private:
    std::function<void(std::exception_ptr)> m_done;
    std::shared_ptr<bool> m_alive; // what a task still queued on the UI thread checks
    std::thread m_worker;
};

} // namespace zanvo
