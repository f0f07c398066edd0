// The program's entry on Windows: builds the services and the window, and runs the message loop.
#include "window/win32/form1window.h"
#include "window/win32/win32services.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    zanvo::Win32Services services;
    zanvo::Form1Window form(services);
    return form.run();
}
