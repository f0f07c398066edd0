// zanvo-scramble run as a process, as scripts run it: encodings, line breaks, exact messages,
// and -o, which must leave the old file or the new one and nothing else, however the run ends.
#include "childprocess.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace zanvo::test;
using Lines = std::vector<std::string>;

namespace {

std::string utf8(const fs::path &path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The program under test, which the build puts beside the test.
fs::path program()
{
    return besideThisProgram(ZANVO_SCRAMBLE);
}

class Cli : public testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tst_cli-" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        for (const auto &entry : fs::recursive_directory_iterator(dir, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    fs::path file(const std::string &name, const std::string &bytes)
    {
        writeFile(dir / name, bytes);
        return dir / name;
    }

    Child child(std::vector<std::string> args, const std::string &input = "")
    {
        Child c {program(), std::move(args), dir, file("stdin", input), {}, {}};
        return c;
    }

    Outcome run(std::vector<std::string> args, const std::string &input = "")
    {
        return zanvo::test::run(child(std::move(args), input));
    }

    // The folder's names, without the test's own stream files.
    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(dir)) {
            const auto name = utf8(entry.path().filename());
            if (name != "stdin" && name != "stdout" && name != "stderr")
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

Lines split(const std::string &text, const std::string &sep)
{
    Lines parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(sep, start)) != text.npos; start = at + sep.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    std::sort(parts.begin(), parts.end());
    return parts;
}

// text as UTF-16 in the given byte order, byte-order mark first.
std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const std::string usageHint = "Try 'zanvo-scramble --help' for more information.\n";

} // namespace

TEST_F(Cli, CrLfAndLfInputsKeepTheirBreaks)
{
    auto crlf = run({"-s", "1"}, "b\r\n\r\na\r\nc\r\n");
    EXPECT_EQ(crlf.status, 0) << crlf.err;
    EXPECT_EQ(split(crlf.out, "\r\n\r\n"), (Lines {"a", "b", "c"}));

    auto lf = run({"-s", "1"}, "b\n\na\r\rc\n");
    EXPECT_EQ(split(lf.out, "\n\n"), (Lines {"a\r\rc", "b"}));

    // In CR LF mode a lone LF is an ordinary character, so this is one line.
    EXPECT_EQ(run({"--eol=crlf"}, "x\ny\nz").out, "x\ny\nz");
    EXPECT_EQ(split(run({"--eol", "lf", "-s", "2"}, "p\r\nq\r\n").out, "\n\n"),
              (Lines {"p\r", "q\r"}));
}

TEST_F(Cli, BytesPassThroughAndMarksStayInFront)
{
    const std::string bytes("\xff\x00z\x80\r\x01", 6); // one line, not UTF-8, with a NUL
    EXPECT_EQ(run({}, bytes).out, bytes);

    const auto out = run({"-s", "9"},
                         "\xEF\xBB\xBF"
                         "一\r\n二\r\n三")
                         .out;
    ASSERT_EQ(out.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(split(out.substr(3), "\r\n\r\n"), (Lines {"一", "三", "二"}));

    // UTF-32 is passed on unchanged, not taken for UTF-16 and torn apart.
    for (const std::string &utf32 : {std::string("\xFF\xFE\0\0a\0\0\0\r\0\0\0\n\0\0\0b\0\0\0", 20),
                                     std::string("\0\0\xFE\xFF\0\0\0a\0\0\0\r\0\0\0\n\0\0\0b", 20)})
        EXPECT_EQ(run({"-s", "5"}, utf32).out, utf32);
}

TEST_F(Cli, Utf16IsScrambledInItsOwnByteOrderAndAnOddByteIsRefused)
{
    for (const bool big : {false, true}) {
        const auto out = run({"-s", "4"}, utf16(u"一\r\n\r\nab\r\n", big)).out;
        EXPECT_TRUE(out == utf16(u"一\r\n\r\nab", big) || out == utf16(u"ab\r\n\r\n一", big))
            << (big ? "big-endian" : "little-endian");

        const std::string odd = utf16(u"x\r\ny", big) + "!";
        const auto target = file("odd.txt", odd);
        auto refused = run({"-o", utf8(target), utf8(target)});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err,
                  "zanvo-scramble: cannot scramble '" + utf8(target)
                      + "': UTF-16 text with an odd number of bytes\n");
        EXPECT_EQ(readFile(target), odd);
        EXPECT_EQ(leftovers(), Lines {"odd.txt"});
        EXPECT_EQ(run({}, odd).err,
                  "zanvo-scramble: cannot scramble standard input: UTF-16 text with an odd "
                  "number of bytes\n");
    }
}

TEST_F(Cli, UsageErrorsSayExactlyWhatIsWrong)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "unrecognized option '--bogus'"},
        {{"--bogus=1"}, "unrecognized option '--bogus=1'"},
        {{"-x"}, "invalid option -- 'x'"},
        {{"-hx"}, "invalid option -- 'x'"},
        {{"--seed=abc"}, "invalid seed: 'abc' (a whole number from 0 to 4294967295)"},
        {{"--seed=-1"}, "invalid seed: '-1' (a whole number from 0 to 4294967295)"},
        {{"--seed=4294967296"}, "invalid seed: '4294967296' (a whole number from 0 to 4294967295)"},
        {{"--eol=cr"},
         "invalid argument 'cr' for '--eol'\nValid arguments are: 'auto', 'crlf', "
         "'lf'"},
        {{"-s"}, "option requires an argument -- 's'"},
        {{"--output"}, "option '--output' requires an argument"},
        {{"--outp"}, "option '--output' requires an argument"},
        {{"--help=1"}, "option '--help' doesn't allow an argument"},
        {{"a", "b"}, "extra operand 'b'"},
    };
    for (const auto &[args, message] : cases) {
        auto result = run(args);
        EXPECT_EQ(result.status, 2) << args[0];
        EXPECT_EQ(result.err, "zanvo-scramble: " + message + "\n" + usageHint) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
    }
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_EQ(run({"--hel"}).out, run({"-h"}).out);
    EXPECT_EQ(run({"--version"}).out, "zanvo-scramble 1.0\n");
    EXPECT_EQ(run({"--vers"}).out, "zanvo-scramble 1.0\n");
}

TEST_F(Cli, LongOptionsMayBeAbbreviatedAndOptionsEndAtTwoDashes)
{
    file("-list", "q\r\nr");
    const auto full = run({"--seed=3", "--output=" + utf8(dir / "a"), "--", "-list"});
    EXPECT_EQ(full.status, 0) << full.err;
    const auto abbreviated = run({"--se=3", "--out=" + utf8(dir / "b"), "--", "-list"});
    EXPECT_EQ(abbreviated.status, 0) << abbreviated.err;
    EXPECT_EQ(readFile(dir / "a"), readFile(dir / "b"));
    EXPECT_EQ(split(readFile(dir / "a"), "\r\n\r\n"), (Lines {"q", "r"}));
}

TEST_F(Cli, FailuresNameTheFileAndLeaveNoOutput)
{
    const auto target = dir / "out.txt";
    auto missing = run({"-o", utf8(target), utf8(dir / "missing.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("zanvo-scramble: cannot open '" + utf8(dir / "missing.txt")
                                    + "' for reading: ",
                                0),
              0u)
        << missing.err;
    EXPECT_FALSE(fs::exists(target));

    auto folder = run({"-o", utf8(dir / "no" / "such" / "out.txt")}, "a");
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err.rfind("zanvo-scramble: cannot open '"
                                   + utf8(dir / "no" / "such" / "out.txt") + "' for writing: ",
                               0),
              0u)
        << folder.err;

    auto directory = run({utf8(dir)});
    EXPECT_EQ(directory.status, 1);
    EXPECT_NE(directory.err.find("cannot read '" + utf8(dir) + "'"), std::string::npos);
    EXPECT_EQ(leftovers(), Lines {});
}

TEST_F(Cli, OutputMayReplaceItsOwnInput)
{
    const auto path = file("list.txt", "one\r\ntwo\r\nthree\r\n");
    auto result = run({"-s", "3", "-o", utf8(path), utf8(path)});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(split(readFile(path), "\r\n\r\n"), (Lines {"one", "three", "two"}));
    EXPECT_EQ(leftovers(), Lines {"list.txt"});
}

TEST_F(Cli, EmptyAndBlankInputsGiveEmptyOutput)
{
    for (const char *input : {"", "\r\n\r\n\r\n", "\n\n"}) {
        auto result = run({}, input);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(run({}, "\xEF\xBB\xBF").out, "\xEF\xBB\xBF");
}

TEST_F(Cli, SeedsReproduceAndTheirAbsenceDoesNot)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    const auto a = run({"-s", "42"}, text).out;
    EXPECT_EQ(run({"--seed=42"}, text).out, a);
    EXPECT_EQ(run({"-s42", "-"}, text).out, a);
    EXPECT_NE(run({"-s", "43"}, text).out, a);
    EXPECT_NE(run({}, text).out, run({}, text).out);
    // Fixed for good: the engine, the draw and the swap rule are the same on every platform.
    EXPECT_EQ(run({"-s", "42"}, "a\nb\nc\nd\ne").out, "a\n\nd\n\ne\n\nc\n\nb");
    EXPECT_EQ(run({"-s", "4294967295"}, "a\nb\nc\nd\ne").out, "b\n\na\n\nd\n\nc\n\ne");
}

TEST_F(Cli, NamesInAnyScriptWork)
{
    for (const std::string name : {"测试.txt", "テスト.txt", "😀.txt"}) {
        const auto path = dir / fs::path(std::u8string(name.begin(), name.end()));
        writeFile(path, "一\r\n二\r\n");
        auto result = run({"-s", "2", "-o", name, name});
        EXPECT_EQ(result.status, 0) << name << result.err;
        EXPECT_EQ(split(readFile(path), "\r\n\r\n"), (Lines {"一", "二"})) << name;
    }
    auto missing = run({"缺少的文件.txt"});
    EXPECT_EQ(missing.err,
              "zanvo-scramble: cannot open '缺少的文件.txt' for reading: No such "
              "file or directory\n");
}

#ifdef _WIN32

TEST_F(Cli, WindowsDevicesProtectionAndLocksAreRespected)
{
    auto nul = run({"-o", "NUL"}, "a\r\nb");
    EXPECT_EQ(nul.status, 0) << nul.err;

    const auto readOnly = file("readonly.txt", "old");
    fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::remove);
    auto refused = run({"-o", utf8(readOnly)}, "new");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "zanvo-scramble: cannot open '" + utf8(readOnly)
                  + "' for writing: Permission denied\n");
    EXPECT_EQ(readFile(readOnly), "old");
    fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);

    // Held open by another program that lets nobody delete it: the replacement fails, the file
    // stays as it was and nothing else is left.
    const auto locked = file("locked.txt", "old");
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    auto held = run({"-o", utf8(locked)}, "new");
    CloseHandle(holder);
    EXPECT_EQ(held.status, 1);
    EXPECT_EQ(held.err.rfind("zanvo-scramble: cannot replace '" + utf8(locked) + "': ", 0), 0u)
        << held.err;
    EXPECT_EQ(readFile(locked), "old");
    EXPECT_EQ(leftovers(), (Lines {"locked.txt", "readonly.txt"}));

    auto badName = run({"-o", "a<b>.txt"}, "x");
    EXPECT_EQ(badName.status, 1);
    EXPECT_EQ(badName.err.rfind("zanvo-scramble: cannot open 'a<b>.txt' for writing: ", 0), 0u)
        << badName.err;
}

#else

TEST_F(Cli, ADeviceIsWrittenToNotReplaced)
{
    auto result = run({"-o", "/dev/null"}, "a\nb\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

namespace {

// The descriptor through which process id writes its output file in folder, if it has one open:
// one beyond the standard streams, which are files in folder too.
std::optional<fs::path> outputDescriptor(long id, const fs::path &folder)
{
    std::error_code ec;
    for (const auto &fd : fs::directory_iterator("/proc/" + std::to_string(id) + "/fd", ec)) {
        const auto target = fs::read_symlink(fd.path(), ec).string();
        if (!ec && std::stoi(fd.path().filename().string()) > 2
            && target.starts_with(folder.string() + "/"))
            return fd.path();
    }
    return std::nullopt;
}

// Waits until process id has its output open: the moment a signal finds the most to clean up.
bool waitForOutputOpen(long id, const fs::path &folder)
{
    for (int i = 0; i < 400; ++i) {
        if (outputDescriptor(id, folder))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The permissions of the file that process id writes its output to.
mode_t outputMode(long id, const fs::path &folder)
{
    struct stat st;
    const auto fd = outputDescriptor(id, folder);
    return fd && stat(fd->c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

// A run of the program whose input is a pipe the test holds open, so it can be caught mid-run.
class HeldRun {
public:
    HeldRun(const fs::path &folder, std::vector<std::string> args,
            std::initializer_list<int> ignored = {}, std::vector<std::string> wrapper = {})
        : m_pipe(folder / "held")
    {
        mkfifo(m_pipe.c_str(), 0600);
        // Both ends open before the start, which waits for the child to open its input: a pipe
        // opens only once it has a reader and a writer.
        const int reader = open(m_pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_writer = open(m_pipe.c_str(), O_WRONLY | O_CLOEXEC);
        m_child = {program(), std::move(args), folder, m_pipe, {}, std::move(wrapper)};
        // Signals ignored here stay ignored in the program, as under nohup.
        std::vector<struct sigaction> saved(ignored.size());
        std::size_t i = 0;
        for (const int signal : ignored) {
            struct sigaction ignore { };
            ignore.sa_handler = SIG_IGN;
            sigaction(signal, &ignore, &saved[i++]);
        }
        m_id = start(m_child);
        i = 0;
        for (const int signal : ignored)
            sigaction(signal, &saved[i++], nullptr);
        close(reader);
    }
    ~HeldRun()
    {
        if (m_writer >= 0)
            close(m_writer);
        if (m_id > 0)
            kill(static_cast<pid_t>(m_id), SIGKILL);
        finish();
    }

    long id() const { return m_id; }

    Outcome finish(const std::string &input = "")
    {
        if (m_writer >= 0) {
            if (!input.empty() && ::write(m_writer, input.data(), input.size()) < 0)
                ADD_FAILURE() << "cannot write the held input";
            close(m_writer);
            m_writer = -1;
        }
        Outcome outcome {-1, {}, {}};
        if (m_id > 0)
            outcome = wait(m_child, m_id);
        m_id = 0;
        fs::remove(m_pipe);
        return outcome;
    }

private:
    fs::path m_pipe;
    Child m_child;
    long m_id = 0;
    int m_writer = -1;
};

// The wrapper that runs a program as the user nobody, or the reason it cannot here.
std::vector<std::string> asNobody
    = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};

std::string whyNotAsNobody(const fs::path &folder)
{
    if (geteuid() != 0)
        return "needs root, to run the program as a second user";
    fs::permissions(folder, fs::perms::all, fs::perm_options::add);
    Child probe {program(), {"--version"}, folder, {}, {}, asNobody};
    if (run(probe).status != 0)
        return "the user nobody cannot run the program from here";
    return {};
}

struct stat statOf(const fs::path &path)
{
    struct stat st { };
    lstat(path.c_str(), &st);
    return st;
}

} // namespace

TEST_F(Cli, ARewriteIsNeverReadableByOthersAndKeepsTheMode)
{
    const auto secret = file("secret.txt", "pin 1234\npin 5678\n");
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    HeldRun held(dir, {"-o", secret.string()});
    ASSERT_TRUE(waitForOutputOpen(held.id(), dir));
    EXPECT_EQ(outputMode(held.id(), dir) & 07, 0u);
    auto outcome = held.finish("a\nb\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(statOf(secret).st_mode & 07777, 0640u);
    EXPECT_EQ(split(readFile(secret), "\n\n"), (Lines {"a", "b"}));
}

TEST_F(Cli, NoSignalLeavesAnythingButTheOldFile)
{
    std::vector<std::vector<std::string>> wrappers = {{}};
#ifdef FS_FAULTS
    // Where the file system has no unnamed files, only SIGKILL may leave the named one behind.
    wrappers.push_back({"env", "LD_PRELOAD=" FS_FAULTS, "ASAN_OPTIONS=verify_asan_link_order=0"});
#endif
    for (const auto &wrapper : wrappers) {
        for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGXFSZ, SIGXCPU,
                                 SIGALRM, SIGVTALRM, SIGUSR1, SIGUSR2, SIGKILL}) {
            if (!wrapper.empty() && signal == SIGKILL)
                continue;
            const auto target = file("list.txt", "old\n");
            HeldRun held(dir, {"-o", target.string()}, {}, wrapper);
            ASSERT_TRUE(waitForOutputOpen(held.id(), dir)) << signal;
            kill(static_cast<pid_t>(held.id()), signal);
            EXPECT_EQ(held.finish().status, 128 + signal) << signal;
            EXPECT_EQ(leftovers(), Lines {"list.txt"}) << signal << " " << wrapper.size();
            EXPECT_EQ(readFile(target), "old\n") << signal;
        }
    }
}

TEST_F(Cli, SignalsIgnoredAtStartStayIgnored)
{
    const auto target = file("list.txt", "old\n");
    HeldRun held(dir, {"-s", "1", "-o", target.string()}, {SIGINT, SIGHUP});
    ASSERT_TRUE(waitForOutputOpen(held.id(), dir));
    kill(static_cast<pid_t>(held.id()), SIGINT);
    kill(static_cast<pid_t>(held.id()), SIGHUP);
    auto outcome = held.finish("x\ny\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(split(readFile(target), "\n\n"), (Lines {"x", "y"}));
}

TEST_F(Cli, AFileTooLargeForTheLimitFailsCleanly)
{
    // The limit, not a device, makes the write fail: SIGXFSZ ignored, as a shell's ulimit leaves
    // many scripts, turns it into an error the program must report.
    const std::string big(64 * 1024, 'x');
    const auto target = file("list.txt", "old\n");
    Child limited = child({"-o", target.string()}, big + "\n" + big);
    limited.wrapper = {"sh", "-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\""};
    auto toFile = zanvo::test::run(limited);
    EXPECT_EQ(toFile.status, 1);
    EXPECT_EQ(toFile.err,
              "zanvo-scramble: error writing '" + target.string() + "': File too large\n");
    EXPECT_EQ(readFile(target), "old\n");
    EXPECT_EQ(leftovers(), Lines {"list.txt"});

    limited.arguments = {};
    auto toStdout = zanvo::test::run(limited);
    EXPECT_EQ(toStdout.status, 1);
    EXPECT_EQ(toStdout.err, "zanvo-scramble: error writing standard output: File too large\n");

    // The help text is written as carefully as the result.
    limited.wrapper = {"sh", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""};
    limited.arguments = {"--help"};
    auto help = zanvo::test::run(limited);
    EXPECT_EQ(help.status, 1);
    EXPECT_EQ(help.err, "zanvo-scramble: error writing standard output\n");
}

TEST_F(Cli, LinksAreFollowedToTheFileTheyName)
{
    const auto real = file("real.txt", "old");
    fs::create_symlink("real.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "chain.txt");
    auto result = run({"-s", "1", "-o", (dir / "chain.txt").string()}, "x\ny");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.txt"));
    EXPECT_EQ(split(readFile(real), "\n\n"), (Lines {"x", "y"}));

    // A link that leads nowhere yet: the file it names is created.
    fs::create_symlink("new.txt", dir / "dangling.txt");
    EXPECT_EQ(run({"-o", (dir / "dangling.txt").string()}, "z").status, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.txt"));
    EXPECT_EQ(readFile(dir / "new.txt"), "z");

    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    auto loop = run({"-o", (dir / "loop1").string()}, "z");
    EXPECT_EQ(loop.status, 1);
    EXPECT_EQ(loop.err,
              "zanvo-scramble: cannot open '" + (dir / "loop1").string()
                  + "' for writing: Too many levels of symbolic links\n");
    EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
}

TEST_F(Cli, HardLinksStayOneFile)
{
    const auto a = file("a.txt", "one\ntwo\n");
    fs::create_hard_link(a, dir / "b.txt");
    auto result = run({"-s", "7", "-o", a.string(), a.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(statOf(a).st_ino, statOf(dir / "b.txt").st_ino);
    EXPECT_EQ(readFile(dir / "b.txt"), readFile(a));
    EXPECT_EQ(split(readFile(a), "\n\n"), (Lines {"one", "two"}));
    EXPECT_EQ(leftovers(), (Lines {"a.txt", "b.txt"}));
    // Shorter than before: the old tail is cut off.
    EXPECT_EQ(run({"-o", a.string()}, "z").status, 0);
    EXPECT_EQ(readFile(dir / "b.txt"), "z");
}

#ifdef FS_FAULTS
TEST_F(Cli, AFolderThatTakesNoNewFileGetsTheFileRewrittenInPlace)
{
    const auto target = file("list.txt", "old text, longer than the new\n");
    const auto inode = statOf(target).st_ino;
    Child full = child({"-s", "1", "-o", target.string()}, "b\na\n");
    full.wrapper = {"env", "LD_PRELOAD=" FS_FAULTS, "ZANVO_TEST_FOLDER_FULL=1",
                    "ASAN_OPTIONS=verify_asan_link_order=0"};
    auto result = zanvo::test::run(full);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(statOf(target).st_ino, inode);
    EXPECT_EQ(split(readFile(target), "\n\n"), (Lines {"a", "b"}));

    full.arguments = {"-o", (dir / "new.txt").string()};
    auto fresh = zanvo::test::run(full);
    EXPECT_EQ(fresh.status, 1);
    EXPECT_EQ(fresh.err,
              "zanvo-scramble: cannot open '" + (dir / "new.txt").string()
                  + "' for writing: No space left on device\n");
    EXPECT_EQ(leftovers(), Lines {"list.txt"});
}
#endif

TEST_F(Cli, ALongNameIsNoObstacle)
{
    const std::string name(250, 'n');
    const auto target = file(name, "old");
    auto result = run({"-o", target.string()}, "new");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(leftovers(), Lines {name});
}

TEST_F(Cli, NamesInMessagesAreQuotedSafely)
{
    auto result = run({std::string("no\nsuch\033[2J\xff'fi\\le\xc2\x85")});
    EXPECT_EQ(result.err,
              "zanvo-scramble: cannot open 'no\\nsuch\\033[2J\\377\\'fi\\\\le"
              "\\302\\205' for reading: No such file or directory\n");
    auto chinese = run({"缺少的文件.txt"});
    EXPECT_EQ(chinese.err,
              "zanvo-scramble: cannot open '缺少的文件.txt' for reading: No such "
              "file or directory\n");
}

TEST_F(Cli, RootKeepsTheOwnerOfAUsersFile)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to rewrite another user's file";
    const auto target = file("theirs.txt", "a\nb\n");
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    auto result = run({"-o", target.string(), target.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(statOf(target).st_uid, 65534u);
    EXPECT_EQ(statOf(target).st_gid, 65534u);
    EXPECT_EQ(statOf(target).st_mode & 07777, 0600u);
}

TEST_F(Cli, AnotherUsersRewriteKeepsWhatTheyMayNotChange)
{
    if (const auto why = whyNotAsNobody(dir); !why.empty())
        GTEST_SKIP() << why;
    auto asUser = [&](std::vector<std::string> args) {
        Child c = child(std::move(args), "b\na\n");
        c.wrapper = asNobody;
        return zanvo::test::run(c);
    };

    // Write-protected by its owner: refused, as shuf -o refuses it.
    const auto mine = file("protected.txt", "old");
    ASSERT_EQ(chown(mine.c_str(), 65534, 65534), 0);
    fs::permissions(mine, fs::perms::owner_read);
    auto refused = asUser({"-o", mine.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "zanvo-scramble: cannot open '" + mine.string()
                  + "' for writing: Permission denied\n");
    EXPECT_EQ(readFile(mine), "old");

    // Writable in a folder the user may not write to: rewritten in place.
    const auto locked = dir / "locked";
    fs::create_directory(locked);
    writeFile(locked / "open.txt", "old");
    fs::permissions(locked / "open.txt", fs::perms::all);
    fs::permissions(locked,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                        | fs::perms::others_read | fs::perms::others_exec);
    auto inLocked = asUser({"-s", "1", "-o", (locked / "open.txt").string()});
    EXPECT_EQ(inLocked.status, 0) << inLocked.err;
    EXPECT_EQ(split(readFile(locked / "open.txt"), "\n\n"), (Lines {"a", "b"}));

    // Another user's world-writable file in a sticky folder: rewritten in place, owner kept.
    const auto sticky = dir / "sticky";
    fs::create_directory(sticky);
    fs::permissions(sticky, fs::perms::all | fs::perms::sticky_bit);
    writeFile(sticky / "shared.txt", "old");
    fs::permissions(sticky / "shared.txt", fs::perms::all);
    auto inSticky = asUser({"-o", (sticky / "shared.txt").string()});
    EXPECT_EQ(inSticky.status, 0) << inSticky.err;
    EXPECT_EQ(statOf(sticky / "shared.txt").st_uid, 0u);
    EXPECT_EQ(split(readFile(sticky / "shared.txt"), "\n\n"), (Lines {"a", "b"}));
}

#endif
