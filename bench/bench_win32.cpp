// The Windows window's figures: paste (Ctrl+V), Start and Ctrl+Z on 10 and 50 MB of short CJK
// lines, each with the longest time the message loop did not turn (the largest gap of a 10 ms
// timer) and how much of it the clipboard's own calls took; peak memory, and the memory held
// after ten Starts more on 50 MB. Each text runs in a fresh process, so peaks do not mix.
#include "bench/textgen.h"
#include "window/win32/form1window.h"
#include "window/win32/win32services.h"

#include <windows.h>
// Needs windows.h before it.
#include <algorithm>
#include <chrono>
#include <commctrl.h>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <psapi.h>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double mib(SIZE_T bytes)
{
    return static_cast<double>(bytes) / 1048576.0;
}

PROCESS_MEMORY_COUNTERS memory()
{
    PROCESS_MEMORY_COUNTERS counters {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// The largest gap between the ticks of a 10 ms timer since the last reset.
Clock::time_point lastTick;
Clock::duration largestGap;

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    const auto now = Clock::now();
    largestGap = std::max(largestGap, now - lastTick);
    lastTick = now;
}

// Turns the message loop until done() holds, and for settle after it.
void pump(const std::function<bool()> &done, std::chrono::milliseconds settle, HWND window)
{
    const auto turn = [window] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    };
    while (!done())
        turn();
    for (const auto until = Clock::now() + settle; Clock::now() < until;)
        turn();
}

// The real clipboard, with the time its calls take on the UI thread: under Wine most of that is
// Wine copying the block to or from its server, where Windows hands the block over as it is.
class TimedClipboard : public zanvo::Clipboard {
public:
    explicit TimedClipboard(zanvo::Clipboard &real) : m_real(real) { }
    std::unique_ptr<Content> newContent() override { return m_real.newContent(); }
    zanvo::ClipboardPut put(std::unique_ptr<Content> content) override
    {
        const auto began = Clock::now();
        const zanvo::ClipboardPut done = m_real.put(std::move(content));
        inCalls += Clock::now() - began;
        return done;
    }
    std::optional<zanvo::ClipboardText> text() override
    {
        const auto began = Clock::now();
        std::optional<zanvo::ClipboardText> text = m_real.text();
        inCalls += Clock::now() - began;
        return text;
    }

    // The time the clipboard's own calls took on the UI thread, both ways.
    Clock::duration inCalls {};

private:
    zanvo::Clipboard &m_real;
};

struct TimedServices : zanvo::Win32Services {
    TimedClipboard timed {Win32Services::clipboard()};
    zanvo::Clipboard &clipboard() override { return timed; }
};

long long ms(Clock::duration d)
{
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

int runCase(int megabytes)
{
    INITCOMMONCONTROLSEX controls {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    TimedServices services;
    zanvo::Form1Window form(services);
    HWND window = form.window();
    ShowWindow(window, SW_SHOW);
    auto content = services.clipboard().newContent();
    content->add(zanvo::bench::cjkLinesUtf8(std::size_t(megabytes) * 1000 * 1000));
    content->finish();
    services.clipboard().put(std::move(content));
    zanvo::ScintillaBox &box = form.text1();
    HWND start = FindWindowExW(window, nullptr, L"BUTTON", L"开始伪原创");
    SetTimer(nullptr, 0, 10, tick);
    int starts = 0;
    form.form1().onFinished([&starts] { ++starts; });

    const auto step = [&](const char *name, const std::function<void()> &action,
                          const std::function<bool()> &done) {
        pump([] { return true; }, std::chrono::milliseconds(200), window);
        lastTick = Clock::now();
        largestGap = {};
        services.timed.inCalls = {};
        const auto began = Clock::now();
        action();
        pump(done, {}, window);
        const std::chrono::duration<double> took = Clock::now() - began;
        pump([] { return true; }, std::chrono::milliseconds(500), window);
        std::printf("%s %.3f s (gap %lld ms", name, took.count(), ms(largestGap));
        // A Start's put runs in the one UI task that ends it, a paste's read in the one that
        // begins it: the rest of that gap is the program's own.
        if (services.timed.inCalls > Clock::duration {})
            std::printf(": the clipboard's calls %lld ms, the rest %lld ms",
                        ms(services.timed.inCalls),
                        std::max(0LL, ms(largestGap) - ms(services.timed.inCalls)));
        std::printf(")  ");
    };
    step(
        "paste", [&] { box.run(zanvo::EditCommand::Paste); },
        [&] { return !box.isEmpty() && !box.isBusy(); });
    const std::size_t pasted = box.text().size();
    step(
        "start", [&] { SendMessageW(start, BM_CLICK, 0, 0); }, [&] { return starts == 1; });
    step(
        "undo", [&] { box.run(zanvo::EditCommand::Undo); },
        [&] { return box.text().size() == pasted; });
    std::printf("peak %.0f MiB", mib(memory().PeakWorkingSetSize));
    if (megabytes == 50) {
        for (int i = 0; i < 10; ++i) {
            const int before = starts;
            SendMessageW(start, BM_CLICK, 0, 0);
            pump([&] { return starts > before; }, {}, window);
        }
        pump([] { return true; }, std::chrono::milliseconds(500), window);
        std::printf("  after 10 Starts more: %.0f MiB held", mib(memory().WorkingSetSize));
    }
    std::printf("\n");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc == 2)
        return runCase(_wtoi(argv[1]));
    std::printf("Text: short CJK lines, about 10 %% empty, CR LF; sizes in UTF-8.\n");
    std::fflush(stdout);
    for (const wchar_t *size : {L"10", L"50"}) {
        std::wstring line = L"\"" + std::wstring(argv[0]) + L"\" " + size;
        STARTUPINFOW startup {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child {};
        std::printf("%3ls ", size);
        std::fflush(stdout);
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &child))
            return 1;
        WaitForSingleObject(child.hProcess, INFINITE);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    return 0;
}
