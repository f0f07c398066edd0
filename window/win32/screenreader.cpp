// Names and roles for screen readers.
#include "window/win32/screenreader.h"

#include <string>

// The service's class and property ids are defined here, so that the program imports nothing
// from oleacc.dll, which Windows would look for beside the program first.
#include <initguid.h>
#include <oleacc.h>

namespace zanvo {

void describeForScreenReaders(HWND control, std::wstring_view name, long role)
{
    IAccPropServices *services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void **>(&services))))
        return;
    // The annotations hold as long as the control, which is the program's whole run.
    if (!name.empty())
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_NAME, std::wstring(name).c_str());
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = role;
    services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE,
                          value);
    services->Release();
}

} // namespace zanvo
