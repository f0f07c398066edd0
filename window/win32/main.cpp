// The program's entry on Windows: builds the services and the window, and runs the message loop.
#include "runtime/dllsearch.h"
#include "runtime/utf16.h"
#include "window/form/errorreport.h"
#include "window/win32/form1window.h"
#include "window/win32/win32services.h"

#include <commctrl.h>
#include <ole2.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    zanvo::searchDllsInTheSystemFolderOnly();
    INITCOMMONCONTROLSEX controls {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // OLE, which drag and drop needs, and with it COM for the screen readers' annotation service.
    const HRESULT ole = OleInitialize(nullptr);
    // What fails before the window's own guard stands (building it) or after (taking it down) is
    // reported as the guard reports, and ends the program with the same status.
    int status = 0;
    if (const auto report = zanvo::runGuarded([&status] {
            zanvo::Win32Services services;
            zanvo::Form1Window form(services);
            status = form.run();
        })) {
        MessageBoxW(nullptr, zanvo::wide(*report).c_str(),
                    zanvo::wide(zanvo::form1::applicationTitle).c_str(), MB_OK);
        return zanvo::runtimeErrorStatus;
    }
    if (SUCCEEDED(ole))
        OleUninitialize();
    return status;
}
