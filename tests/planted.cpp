// A program or a DLL planted beside the program under test under a name of Windows' own, as a
// download could stand beside it: when it runs or is loaded, it leaves a file named after itself
// with ".ran" added, so that the test sees whether it ever did.
#include <windows.h>

namespace {

void leaveMark(HMODULE self)
{
    wchar_t path[MAX_PATH + 4];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    lstrcpyW(path + length, L".ran");
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

} // namespace

#ifdef PLANTED_DLL
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        leaveMark(self);
    return TRUE;
}
#else
int main()
{
    leaveMark(nullptr);
}
#endif
