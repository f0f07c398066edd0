// Text1's box over Scintilla's own Win32 layer, under Wine: the shared box holds there as under
// QScintilla (the text read through the character pointer with its CR LF and NULs, content
// filled through the loader on a worker, undo through documents, a large paste from the
// clipboard on a worker), and tasks posted from a worker run in the message loop, in order, on
// the UI thread.
#include "runtime/utf16.h"
#include "shellfiles.h"
#include "window/win32/filedrop.h"
#include "window/win32/form1window.h"
#include "window/win32/scintillacontrol.h"
#include "window/win32/uithread.h"
#include "window/win32/win32services.h"

#include <Scintilla.h>
#include <atomic>
#include <chrono>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <thread>

using namespace zanvo;

namespace {

// Runs the message loop until done() holds; false after ten seconds without.
bool pumpUntil(const std::function<bool()> &done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

// The parent's part a host plays: Scintilla's notifications handed to the control.
LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *control = reinterpret_cast<ScintillaControl *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && control)
        control->notified(*reinterpret_cast<const NMHDR *>(lParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

class Win32Box : public testing::Test {
protected:
    Win32UiThread ui;
    Win32Services services;
    HWND parent = nullptr;
    std::unique_ptr<ScintillaControl> control;

    void SetUp() override
    {
        WNDCLASSEXW type {};
        type.cbSize = sizeof type;
        type.lpfnWndProc = parentProcedure;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"TestParent";
        RegisterClassExW(&type);
        parent = CreateWindowExW(0, L"TestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                 nullptr, nullptr, type.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        control = std::make_unique<ScintillaControl>(parent, 1, ui, services.clipboard());
        SetWindowLongPtrW(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control.get()));
    }
    void TearDown() override
    {
        SetWindowLongPtrW(parent, GWLP_USERDATA, 0);
        control.reset();
        DestroyWindow(parent);
    }
    ScintillaBox &box() { return control->box(); }
};

} // namespace

TEST_F(Win32Box, TextFilledOnAWorkerComesBackWholeAndUndoStepsThroughWholeTexts)
{
    const std::string text("一\r\n二\0\r\n三", 14);
    box().replace("old");
    auto content = box().newContent();
    std::thread([&] {
        content->add(text.data(), 5);
        content->add(text.data() + 5, text.size() - 5);
        content->finish();
    }).join();
    box().show(std::move(content), 0);
    EXPECT_EQ(box().text(), text);
    box().run(EditCommand::Undo);
    EXPECT_EQ(box().text(), "old");
    // Typing, as Scintilla tells its parent, ends the way forward.
    control->send(SCI_REPLACESEL, 0, reinterpret_cast<std::intptr_t>("x"));
    box().run(EditCommand::Redo);
    EXPECT_EQ(box().text(), "xold");
}

TEST_F(Win32Box, ALargePasteRunsOnAWorkerAndKeepsTheClipboardsLineBreaks)
{
    std::string pasted;
    for (std::size_t i = 0; i <= ScintillaBox::backgroundPasteLength / 4; ++i)
        pasted += "网名\r\n";
    pasted += "a\nb\rc";
    auto content = services.clipboard().newContent();
    content->add(pasted);
    content->finish();
    ASSERT_EQ(services.clipboard().put(std::move(content)), ClipboardPut::Done);
    box().replace("[]");
    control->send(SCI_SETSEL, 1, 1);
    box().run(EditCommand::Paste);
    EXPECT_TRUE(box().isBusy());
    ASSERT_TRUE(pumpUntil([&] { return !box().isBusy(); }));
    const std::string_view text = box().text();
    ASSERT_EQ(text.size(), 2 + (ScintillaBox::backgroundPasteLength / 4 + 1) * 8 + 5);
    EXPECT_EQ(text.substr(0, 9), "[网名\r\n");
    EXPECT_EQ(text.substr(text.size() - 8), "\r\na\nb\rc]");
    box().run(EditCommand::Undo);
    EXPECT_EQ(box().text(), "[]");
}

// Windows 10 1607's per-monitor DPI tells only the top-level window of a new DPI: the window
// passes it on to the box, whose input method font and cursors follow it.
TEST(Win32Form1, TheWindowPassesANewDpiOnToTheBox)
{
    Win32Services services;
    Form1Window form(services);
    HWND box = FindWindowExW(form.window(), nullptr, L"Scintilla", nullptr);
    ASSERT_NE(box, nullptr);
    UINT told = 0;
    const auto spy = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                        DWORD_PTR data) -> LRESULT {
        if (message == WM_DPICHANGED)
            *reinterpret_cast<UINT *>(data) = HIWORD(wParam);
        return DefSubclassProc(window, message, wParam, lParam);
    };
    SetWindowSubclass(box, spy, 1, reinterpret_cast<DWORD_PTR>(&told));
    RECT suggested;
    GetWindowRect(form.window(), &suggested);
    SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    RemoveWindowSubclass(box, spy, 1);
    EXPECT_EQ(told, 144u);
}

// Scintilla's part of the box's drop target, which a drag of files never reaches.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
struct TextOnly : IDropTarget {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *, DWORD, POINTL, DWORD *) override
    {
        return E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD *) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *, DWORD, POINTL, DWORD *) override
    {
        return E_UNEXPECTED;
    }
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Closed during a long Start, the window leaves the screen at once; the program then waits for
// the work, out of sight, where Windows shows no window as not responding. Meanwhile a drag of
// files over the window or the box shows that it cannot drop, and a drop leaves nothing behind.
TEST(Win32Form1, ClosedDuringAStartTheWindowGoesAtOnce)
{
    OleInitialize(nullptr);
    Win32Services services;
    Form1Window form(services);
    std::string text;
    for (int i = 0; i < 2'000'000; ++i)
        text += "网名" + std::to_string(i) + "\r\n";
    form.text1().replace(text);
    ShowWindow(form.window(), SW_SHOW);
    HWND start
        = FindWindowExW(form.window(), nullptr, L"BUTTON", wide(form1::command1Text).c_str());
    SendMessageW(start, BM_CLICK, 0, 0);
    ASSERT_TRUE(form.form1().busy());
    EXPECT_FALSE(GetWindowLongPtrW(form.window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    TextOnly scintilla;
    IDropTarget *box = newBoxDropTarget(
        FindWindowExW(form.window(), nullptr, L"Scintilla", nullptr), &scintilla);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    IDataObject *file = shellDataObject({self});
    ASSERT_TRUE(file);
    for (int step = 0; step < 2; ++step) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(step == 0 ? box->DragEnter(file, 0, {}, &effect)
                            : box->Drop(file, 0, {}, &effect),
                  S_OK);
        EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << step;
    }
    MSG posted;
    EXPECT_FALSE(PeekMessageW(&posted, form.window(), WM_DROPFILES, WM_DROPFILES, PM_NOREMOVE));
    file->Release();
    box->Release();
    SendMessageW(form.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.form1().busy());
    EXPECT_FALSE(IsWindowVisible(form.window()));
}

// Windows counts a text's length in int, so texts past 2 GiB are converted in pieces: no piece
// that holds a whole character cuts one.
TEST(Utf16, TextsConvertedInPiecesComeOutWhole)
{
    const std::string text = "网名😀a\r\n一\xff二😀";
    const std::wstring whole = wide(text);
    EXPECT_EQ(utf8(whole), "网名😀a\r\n一\xEF\xBF\xBD二😀");
    for (std::size_t piece = 4; piece <= text.size(); ++piece)
        EXPECT_EQ(wide(text, piece), whole) << piece;
    for (std::size_t piece = 2; piece <= whole.size(); ++piece)
        EXPECT_EQ(utf8(whole, piece), utf8(whole)) << piece;
}

TEST(Win32UiThread, TasksFromAWorkerRunInTheMessageLoopInOrder)
{
    Win32UiThread ui;
    const auto uiThread = std::this_thread::get_id();
    std::vector<int> ran;
    bool elsewhere = false;
    std::thread([&] {
        for (int i = 0; i < 100; ++i)
            ui.post([&, i] {
                ran.push_back(i);
                elsewhere |= std::this_thread::get_id() != uiThread;
            });
    }).join();
    EXPECT_TRUE(ran.empty());
    ASSERT_TRUE(pumpUntil([&] { return ran.size() == 100; }));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(elsewhere);
}

// Another program's hold on the clipboard, for ms milliseconds from when the call returns.
std::thread holdClipboard(DWORD ms)
{
    std::atomic<bool> held {false};
    std::thread holder([&held, ms] {
        OpenClipboard(nullptr);
        held = true;
        Sleep(ms);
        CloseClipboard();
    });
    while (!held)
        Sleep(1);
    return holder;
}

TEST(Win32Clipboard, TextWaitsForAClipboardHeldAMomentAndGoesWithItsLocale)
{
    Win32Services services;
    Clipboard &clipboard = services.clipboard();
    const auto put = [&](std::string_view text) {
        auto content = clipboard.newContent();
        content->reserve(4);
        content->add(text);
        content->finish();
        return clipboard.put(std::move(content));
    };
    const auto ansi = [] {
        std::string bytes;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                bytes = static_cast<const char *>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        return bytes;
    };

    std::thread holder = holdClipboard(1000);
    EXPECT_EQ(put("网名一\r\n网名二"), ClipboardPut::Done);
    holder.join();
    holder = holdClipboard(1000);
    const std::optional<ClipboardText> pasted = clipboard.text();
    holder.join();
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->utf8(), "网名一\r\n网名二");
    // An older program reads the text in the system's code page, whatever the keyboard layout:
    // one of another code page is made the one in use.
    const bool chinese = GetACP() == 936;
    ASSERT_TRUE(LoadKeyboardLayoutW(chinese ? L"00000409" : L"00000804", KLF_ACTIVATE));
    const std::wstring shown = L"网名一\r\n网名二";
    std::string system(64, '\0');
    system.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), system.data(),
                            64, nullptr, nullptr)));
    EXPECT_EQ(ansi(), system);

    // Held for longer than a copy waits: the clipboard keeps what it had.
    holder = holdClipboard(3000);
    EXPECT_EQ(put("丢失"), ClipboardPut::Held);
    holder.join();
    EXPECT_EQ(clipboard.text()->utf8(), "网名一\r\n网名二");
}
