// Form1 as a native Win32 window: creates and places the controls from the window's description
// at the monitor's DPI, wires their events to the shared handlers, and gives the handlers its
// controls.
#pragma once

#include "window/form/form1.h"
#include "window/win32/scintillacontrol.h"
#include "window/win32/skinpainter.h"
#include "window/win32/uithread.h"

#include <windows.h>

namespace zanvo {

class Form1Window : public FormControls {
public:
    // Builds the window, hidden, and runs Form_Load, so the skin is in place before the first show.
    explicit Form1Window(FormServices &services, RandomSource &random = RandomSource::process());
    ~Form1Window() override;
    Form1Window(const Form1Window &) = delete;
    Form1Window &operator=(const Form1Window &) = delete;

    HWND window() const { return m_window; }
    ScintillaBox &text1() override { return m_text1->box(); }
    Form1 &form1() { return *m_form; }

    // Runs the message loop until the window closes or a run-time error ends the program;
    // returns the program's exit status.
    int run();

private:
    void setBusy(bool busy) override;
    void showProgress(std::chrono::milliseconds after) override;
    void hideProgress() override;
    void messageBox(std::string_view prompt, std::string_view title) override;
    void endProgram(int status) override;
    void applySkin(std::string_view sheet) override;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void layOut();
    void restoreFocus();
    LRESULT customDraw(const NMCUSTOMDRAW &draw);

    Win32UiThread m_ui;
    HWND m_window = nullptr;
    UINT m_dpi = 96;
    std::unique_ptr<ScintillaControl> m_text1;
    HWND m_controls[form1::controlCount] {};
    SkinPainter m_skin;
    RECT m_frame {}; // Text1's place, where the skin gives it a frame
    bool m_busy = false;
    HWND m_focus = nullptr; // the control to give the focus back to on activation
    std::unique_ptr<Form1> m_form;
};

} // namespace zanvo
