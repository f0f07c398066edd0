// Loads a DLL by name, as a theme or an input method does once a program runs, after the
// program's own first call has or has not restricted where Windows looks ("restricted" as the
// argument), and prints the file it came from.
#include "runtime/dllsearch.h"

#include <cstdio>
#include <cstring>
#include <windows.h>

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[2], "restricted") == 0)
        zanvo::searchDllsInTheSystemFolderOnly();
    if (argc < 2)
        return 2;
    HMODULE dll = LoadLibraryA(argv[1]);
    char path[MAX_PATH] = "";
    if (dll)
        GetModuleFileNameA(dll, path, MAX_PATH);
    std::puts(path);
    return dll ? 0 : 1;
}
