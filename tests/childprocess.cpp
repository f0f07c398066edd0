// Test child processes, POSIX and Windows.
#include "childprocess.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;
#endif

namespace zanvo::test {

namespace fs = std::filesystem;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

#ifdef _WIN32

fs::path besideThisProgram(const std::string &name)
{
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return fs::path(self).parent_path() / name;
}

namespace {

std::wstring wide(const std::string &utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument quoted as the C runtime splits a command line again. The tests' arguments hold
// no quote and end in no backslash, where this simple quoting would not do.
std::wstring quoteArgument(const std::wstring &argument)
{
    if (argument.find(L'"') != std::wstring::npos || argument.ends_with(L'\\'))
        throw std::invalid_argument("an argument this runner cannot quote");
    return L'"' + argument + L'"';
}

HANDLE inheritable(const fs::path &path, bool write)
{
    SECURITY_ATTRIBUTES security {sizeof security, nullptr, TRUE};
    HANDLE h = CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &security,
                           write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path.string());
    return h;
}

} // namespace

long start(const Child &child)
{
    std::wstring line = quoteArgument(child.program.wstring());
    for (const auto &argument : child.arguments)
        line += L" " + quoteArgument(wide(argument));
    const fs::path nul = "NUL";
    HANDLE in = inheritable(child.input.value_or(nul), false);
    HANDLE out = inheritable(child.folder / "stdout", true);
    HANDLE err = inheritable(child.folder / "stderr", true);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info {};
    // Wine has been seen to fail a start, once in many, that goes through when tried again: each
    // failure is told on the test's output, and the start tried up to three times.
    BOOL started = FALSE;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 child.folder.c_str(), &startup, &info);
        if (!started) {
            error = GetLastError();
            std::fprintf(stderr, "cannot start %ls: error %lu\n", line.c_str(), error);
            Sleep(100);
        }
    }
    for (HANDLE stream : {in, out, err})
        CloseHandle(stream);
    if (!started)
        throw std::runtime_error("cannot start " + child.program.string() + ": error "
                                 + std::to_string(error));
    CloseHandle(info.hThread);
    return static_cast<long>(reinterpret_cast<std::intptr_t>(info.hProcess));
}

Outcome wait(const Child &child, long id)
{
    HANDLE process = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(id));
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return {static_cast<int>(code), readFile(child.folder / "stdout"),
            readFile(child.folder / "stderr")};
}

#else

fs::path besideThisProgram(const std::string &name)
{
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

long start(const Child &child)
{
    std::vector<std::string> words = child.wrapper;
    words.push_back(child.program.string());
    words.insert(words.end(), child.arguments.begin(), child.arguments.end());
    std::vector<char *> argv;
    for (auto &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const std::string in = child.input ? child.input->string() : "/dev/null";
    const std::string out = (child.folder / "stdout").string();
    const std::string err = (child.folder / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    posix_spawn_file_actions_addchdir_np(&actions, child.folder.c_str());
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + words.front());
    return pid;
}

Outcome wait(const Child &child, long id)
{
    int raw = 0;
    while (waitpid(static_cast<pid_t>(id), &raw, 0) < 0 && errno == EINTR) { }
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return {status, readFile(child.folder / "stdout"), readFile(child.folder / "stderr")};
}

#endif

} // namespace zanvo::test
