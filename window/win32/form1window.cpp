// Form1's Win32 window.
#include "window/win32/form1window.h"

#include "runtime/utf16.h"
#include "window/win32/dpi.h"
#include "window/win32/filedrop.h"
#include "window/win32/screenreader.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <oleacc.h>
#include <stdexcept>

namespace zanvo {

namespace {

constexpr wchar_t className[] = L"ZanvoForm1";
constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD exStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR progressTimer = 1;
// A control's id: clear of IDOK and IDCANCEL, which the dialog keys send for Enter and Esc, so
// that Esc never clicks Start.
int controlId(form1::Control control)
{
    return 101 + static_cast<int>(control);
}

bool isLabel(form1::Control control)
{
    return control == form1::Label1 || control == form1::Label2;
}

// The outer size of the window at dpi.
SIZE windowSize(UINT dpi)
{
    const auto pixels = [dpi](int twips) { return form1::pixels(twips, static_cast<int>(dpi)); };
    return outerSize({pixels(form1::clientArea.width), pixels(form1::clientArea.height)}, style,
                     exStyle, dpi);
}

} // namespace

Form1Window::Form1Window(FormServices &services, RandomSource &random)
{
    WNDCLASSEXW type {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The title bar and the taskbar take the small icon, Alt+Tab the large one: each is drawn
    // from the icon's own image of that size rather than scaled from the other.
    type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
    type.hIconSm = static_cast<HICON>(LoadImageW(type.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = className;
    RegisterClassExW(&type);
    const UINT systemDpi = dpiOf(nullptr);
    const SIZE size = windowSize(systemDpi);
    m_window
        = CreateWindowExW(exStyle, className, wide(form1::caption).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, type.hInstance, this);
    if (!m_window)
        throw std::runtime_error("cannot create the window");
    m_dpi = dpiOf(m_window);
    if (m_dpi != systemDpi) {
        const SIZE onMonitor = windowSize(m_dpi);
        SetWindowPos(m_window, nullptr, 0, 0, onMonitor.cx, onMonitor.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    m_text1 = std::make_unique<ScintillaControl>(m_window, controlId(form1::Text1), m_ui,
                                                 services.clipboard());
    m_controls[form1::Text1] = m_text1->window();
    const auto child = [this](form1::Control control, const wchar_t *kind, std::string_view text,
                              DWORD flags) {
        m_controls[control]
            = CreateWindowExW(0, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | flags, 0, 0, 0,
                              0, m_window, reinterpret_cast<HMENU>(INT_PTR(controlId(control))),
                              GetModuleHandleW(nullptr), nullptr);
    };
    child(form1::Command1, L"BUTTON", form1::command1Text, WS_TABSTOP | BS_PUSHBUTTON);
    child(form1::Label1, L"STATIC", form1::label1Text, SS_LEFT | SS_NOPREFIX);
    child(form1::Command2, L"BUTTON", form1::command2Text, WS_TABSTOP | BS_PUSHBUTTON);
    child(form1::Label2, L"STATIC", form1::label2Text(), SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
    child(form1::Progress, PROGRESS_CLASSW, {}, PBS_MARQUEE);
    ShowWindow(m_controls[form1::Progress], SW_HIDE);
    describeForScreenReaders(m_text1->window(), wide(form1::text1Name), ROLE_SYSTEM_TEXT);
    describeForScreenReaders(m_controls[form1::Label2], {}, ROLE_SYSTEM_LINK);
    // Text1 comes first in the tab order, as it was made first; the buttons follow.
    SetWindowPos(m_text1->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(m_text1->window(), SW_SHOW);

    acceptDroppedFiles(m_window);

    m_form = std::make_unique<Form1>(*this, services, m_ui, random);
    m_form->hookUp(m_text1->box());
    m_form->handle(&Form1::Form_Load);
    layOut();
    SetFocus(m_text1->window());
}

Form1Window::~Form1Window()
{
    // A Start or a paste under way still reads the box, and posts to m_ui once done.
    m_form.reset();
    m_text1.reset();
    DestroyWindow(m_window);
}

int Form1Window::run()
{
    ShowWindow(m_window, SW_SHOWDEFAULT);
    UpdateWindow(m_window);
    SetFocus(m_text1->window());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(m_window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Form1Window::layOut()
{
    const int dpi = static_cast<int>(m_dpi);
    const SkinLook &look = m_skin.look();
    const auto rect = [dpi](const form1::Place &at) {
        const int left = form1::pixels(at.left, dpi), top = form1::pixels(at.top, dpi);
        return RECT {left, top, left + form1::pixels(at.width, dpi),
                     top + form1::pixels(at.height, dpi)};
    };
    const auto place = [](HWND control, RECT at) {
        SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // A frame the skin gives the box is drawn on the edge of its place, around it.
    for (std::size_t i = 0; i < form1::controlCount; ++i) {
        RECT at = rect(form1::places[i]);
        if (i == form1::Text1) {
            m_frame = at;
            if (look.boxBorder)
                InflateRect(&at, -1, -1);
        }
        place(m_controls[i], at);
    }
    m_skin.lay(m_window, m_dpi);
    // The box takes its font as Scintilla does.
    for (std::size_t i = form1::Text1 + 1; i < form1::controlCount; ++i)
        SendMessageW(m_controls[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_skin.font(isLabel(form1::Control(i)))), TRUE);
    m_text1->applyLook(m_skin.boxFont(), m_dpi, look);
    InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT Form1Window::customDraw(const NMCUSTOMDRAW &draw)
{
    const bool button = draw.hdr.hwndFrom == m_controls[form1::Command1]
        || draw.hdr.hwndFrom == m_controls[form1::Command2];
    if (!button || !m_skin.paintsButtons() || draw.dwDrawStage != CDDS_PREPAINT)
        return CDRF_DODEFAULT;
    m_skin.drawButton(draw);
    return CDRF_SKIPDEFAULT;
}

void Form1Window::restoreFocus()
{
    SetFocus(m_focus && IsChild(m_window, m_focus) ? m_focus : m_text1->window());
}

void Form1Window::setBusy(bool busy)
{
    m_busy = busy;
    // Files dropped meanwhile would not go in: a drag over the window shows that it cannot drop.
    DragAcceptFiles(m_window, !busy);
    m_text1->send(SCI_SETCURSOR, busy ? SC_CURSORWAIT : std::uintptr_t(SC_CURSORNORMAL), 0);
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Form1Window::showProgress(std::chrono::milliseconds after)
{
    SetTimer(m_window, progressTimer, static_cast<UINT>(after.count()), nullptr);
}

void Form1Window::hideProgress()
{
    KillTimer(m_window, progressTimer);
    SendMessageW(m_controls[form1::Progress], PBM_SETMARQUEE, FALSE, 0);
    ShowWindow(m_controls[form1::Progress], SW_HIDE);
}

void Form1Window::messageBox(std::string_view prompt, std::string_view title)
{
    MessageBoxW(m_window, wide(prompt).c_str(), wide(title).c_str(), MB_OK);
}

void Form1Window::endProgram(int status)
{
    PostQuitMessage(status);
}

void Form1Window::applySkin(std::string_view sheet)
{
    m_skin.setSkin(sheet);
}

LRESULT CALLBACK Form1Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        scaleNonClientArea(window);
        const auto *creation = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto *self = reinterpret_cast<Form1Window *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_form)
        return DefWindowProcW(window, message, wParam, lParam);
    // Windows calls in here, often from inside itself, where on 64-bit Windows an exception is
    // swallowed or ends the program without a word: each goes through the guard as a handler's
    // does. The call is packed into one reference, which the guard's function holds in place.
    struct Call {
        Form1Window &self;
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result = 0;
    } call {*self, window, message, wParam, lParam};
    self->m_form->guard([&call] {
        call.result = call.self.handle(call.window, call.message, call.wParam, call.lParam);
    });
    return call.result;
}

LRESULT Form1Window::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // Every event goes to its handler through the guard: a run-time error inside one is
        // reported there and never reaches the message loop.
        if (LOWORD(wParam) == controlId(form1::Command1) && HIWORD(wParam) == BN_CLICKED)
            m_form->handle(&Form1::Command1_Click);
        else if (LOWORD(wParam) == controlId(form1::Command2) && HIWORD(wParam) == BN_CLICKED)
            m_form->handle(&Form1::Command2_Click);
        else if (LOWORD(wParam) == controlId(form1::Label2) && HIWORD(wParam) == STN_CLICKED)
            m_form->handle(&Form1::Label2_Click);
        return 0;
    case WM_NOTIFY: {
        const auto &header = *reinterpret_cast<const NMHDR *>(lParam);
        if (header.code == NM_CUSTOMDRAW)
            return customDraw(reinterpret_cast<const NMCUSTOMDRAW &>(header));
        if (header.hwndFrom != m_text1->window())
            return 0;
        if (header.code == SCN_FOCUSIN || header.code == SCN_FOCUSOUT)
            InvalidateRect(m_window, &m_frame, TRUE);
        m_text1->notified(header);
        return 0;
    }
    case WM_ERASEBKGND:
        if (m_skin.erase(window, reinterpret_cast<HDC>(wParam)))
            return 1;
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        m_skin.drawFrame(dc, m_frame, GetFocus() == m_text1->window());
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        const auto control = reinterpret_cast<HWND>(lParam);
        if (control == m_controls[form1::Label1] || control == m_controls[form1::Label2])
            return reinterpret_cast<LRESULT>(
                m_skin.labelColours(control, reinterpret_cast<HDC>(wParam)));
        break;
    }
    case WM_DROPFILES: {
        m_form->Text1_OLEDragDrop(droppedFiles(reinterpret_cast<HDROP>(wParam)));
        return 0;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_text1->window()) {
            m_text1->showMenu(
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == progressTimer) {
            KillTimer(m_window, progressTimer);
            ShowWindow(m_controls[form1::Progress], SW_SHOW);
            SendMessageW(m_controls[form1::Progress], PBM_SETMARQUEE, TRUE, 30);
        }
        return 0;
    case WM_SETCURSOR:
        if (m_busy) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        // Where Windows falls back to the first per-monitor DPI model (Windows 10 1607, some LTSB
        // installations), only the top-level window is told; the box sizes its text by its own.
        SendMessageW(m_text1->window(), WM_DPICHANGED, wParam, lParam);
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_ACTIVATE:
        // As the dialog manager does: the control that had the focus when the window went
        // inactive (behind a message box, or Alt+Tab away) gets it back, so the keyboard is never
        // left with the bare window, which takes no keys.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_focus = focus;
        } else if (!HIWORD(wParam)) {
            restoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case WM_CLOSE:
        // The window goes with this object, after the box that still holds Scintilla's
        // documents, and so after a Start under way, which still reads the box. Meanwhile it is
        // off the screen, where Windows takes no window for one that has stopped responding.
        ShowWindow(m_window, SW_HIDE);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace zanvo
