// Tasks for the Win32 UI thread.
#include "window/win32/uithread.h"

#include <stdexcept>

namespace zanvo {

namespace {

constexpr UINT runTasks = WM_APP;
constexpr wchar_t className[] = L"ZanvoUiThread";

} // namespace

Win32UiThread::Win32UiThread()
{
    WNDCLASSEXW type {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = className;
    RegisterClassExW(&type); // fails harmlessly once the class exists
    m_window = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               type.hInstance, nullptr);
    if (!m_window)
        throw std::runtime_error("cannot create the UI thread's message window");
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32UiThread::~Win32UiThread()
{
    DestroyWindow(m_window);
}

void Win32UiThread::post(std::function<void()> task)
{
    std::lock_guard lock(m_mutex);
    m_tasks.push_back(std::move(task));
    // One message stands for every task queued before it runs.
    if (m_tasks.size() == 1)
        PostMessageW(m_window, runTasks, 0, 0);
}

void Win32UiThread::runQueued()
{
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
    }
    for (auto &task : tasks)
        task();
}

LRESULT CALLBACK Win32UiThread::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == runTasks) {
        if (auto *self
            = reinterpret_cast<Win32UiThread *>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->runQueued();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace zanvo
