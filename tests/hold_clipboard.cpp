// Another program that holds the clipboard, as a clipboard history or a remote desktop can:
// opens it, says "held" on standard output, and lets go after the milliseconds it is given.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

int main(int argc, char **argv)
{
    if (argc != 2 || !OpenClipboard(nullptr))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::atoi(argv[1])));
    CloseClipboard();
    return 0;
}
