// The UI thread as Win32 reaches it: a task posted from any thread runs in the message loop, by
// way of a window of its own that only receives messages.
#pragma once

#include "window/form/job.h"

#include <deque>
#include <mutex>
#include <windows.h>

namespace zanvo {

class Win32UiThread : public UiThread {
public:
    // On the UI thread, whose message loop then runs the tasks.
    Win32UiThread();
    // Tasks still queued when this goes are dropped.
    ~Win32UiThread() override;
    Win32UiThread(const Win32UiThread &) = delete;
    Win32UiThread &operator=(const Win32UiThread &) = delete;

    void post(std::function<void()> task) override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void runQueued();

    HWND m_window;
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};

} // namespace zanvo
