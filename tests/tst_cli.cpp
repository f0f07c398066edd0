// zanvo-scramble run as a process, as scripts run it: encodings, line breaks, exact messages,
// and -o, which must leave the old file or the new one and nothing else, however the run ends.
// Seeded outputs are pinned: the engine, the draw and the swap rule are the same everywhere.
#include "clitest.h"
#include "marked.h"

#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#endif

using namespace zanvo::test;

namespace {

Outcome usage(const std::string &message)
{
    return failure(message + "\nTry 'zanvo-scramble --help' for more information.", 2);
}

} // namespace

TEST_F(Cli, LinesAreShuffledInTheirOwnEncodingAndBreaks)
{
    const std::string bytes("\xff\x00z\x80\r\x01", 6); // one line, not UTF-8, with a NUL
    expectRuns({
        {{"-s", "1"}, "b\r\n\r\na\r\nc\r\n", ok("a\r\n\r\nc\r\n\r\nb")},
        {{"-s", "2"}, "b\n\na\r\rc\n", ok("a\r\rc\n\nb")},
        // Any CR LF in the text makes it the break, whatever stands before the first LF.
        {{"-s", "1"}, "a\nb\r\nc\r\nd", ok("c\r\n\r\nd\r\n\r\na\nb")},
        // In CR LF mode a lone LF is an ordinary character, and in LF mode a CR is.
        {{"--eol=crlf"}, "x\ny\nz", ok("x\ny\nz")},
        {{"--eol", "lf", "-s", "2"}, "p\r\nq\r\n", ok("q\r\n\np\r")},
        {{}, bytes, ok(bytes)},
        {{"-s", "9"}, "\xEF\xBB\xBF一\r\n二\r\n三", ok("\xEF\xBB\xBF一\r\n\r\n三\r\n\r\n二")},
        {{"-s", "9"},
         "\x84\x31\x95\x33\xD2\xBB\r\n\xB6\xFE\r\n\xC8\xFD", // GB18030's own mark
         ok("\x84\x31\x95\x33\xD2\xBB\r\n\r\n\xC8\xFD\r\n\r\n\xB6\xFE")},
        {{"-s", "4"}, utf16(u"一\r\n\r\nab\r\n", false), ok(utf16(u"ab\r\n\r\n一", false))},
        {{"-s", "4"}, utf16(u"一\r\n\r\nab\r\n", true), ok(utf16(u"ab\r\n\r\n一", true))},
        // UTF-32 is not taken for UTF-16 and torn apart; a character outside the BMP stays whole.
        {{"-s", "4"}, utf32(U"😀\r\n\r\nab\r\n", false), ok(utf32(U"ab\r\n\r\n😀", false))},
        {{"-s", "4"}, utf32(U"😀\r\n\r\nab\r\n", true), ok(utf32(U"ab\r\n\r\n😀", true))},
        {{}, "", ok()},
        {{}, "\r\n\r\n\r\n", ok()},
        {{}, "\xEF\xBB\xBF", ok("\xEF\xBB\xBF")},
        // One line longer than the output buffer goes out in one write, past the buffer.
        {{}, std::string(300000, 'x'), ok(std::string(300000, 'x'))},
    });
    EXPECT_EQ(leftovers(), Words {});
}

TEST_F(Cli, BothByteOrdersOfUtf16GiveTheSameLinesPastTheOutputBuffer)
{
    // Far more than the output buffer holds, so that the swapped writes fill it many times.
    std::u16string text;
    for (int i = 0; i < 60000; ++i)
        text += u"网名 " + std::u16string(1, char16_t(u'a' + i % 26)) + u"\r\n";
    const Outcome little = run({"-s", "7"}, utf16(text, false));
    const Outcome big = run({"-s", "7"}, utf16(text, true));
    ASSERT_EQ(little.status, 0);
    ASSERT_EQ(big.status, 0);
    ASSERT_GT(big.out.size(), 512u * 1024);
    std::string swapped = little.out;
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    EXPECT_TRUE(big.out == swapped);
}

TEST_F(Cli, SeedsReproduceAndTheirAbsenceDoesNot)
{
    const std::string five = "a\nb\nc\nd\ne";
    expectRuns({
        {{"-s", "42"}, five, ok("a\n\nd\n\ne\n\nc\n\nb")},
        {{"--seed=42"}, five, ok("a\n\nd\n\ne\n\nc\n\nb")},
        {{"-s42", "-"}, five, ok("a\n\nd\n\ne\n\nc\n\nb")},
        {{"-s", "4294967295"}, five, ok("b\n\na\n\nd\n\nc\n\ne")},
        // Only the first of each line is drawn for: the order that five different lines give.
        {{"-u", "-s", "42"}, "a\nb\na\nc\nb\nd\ne\na", ok("a\n\nd\n\ne\n\nc\n\nb")},
        {{"--unique", "--seed=42"},
         "a\r\nb\r\nb\r\nc\r\nd\r\ne",
         ok("a\r\n\r\nd\r\n\r\ne\r\n\r\nc\r\n\r\nb")},
        {{"-s", "42"}, "a\nb\na\nc\nb\nd\ne\na", ok("a\n\nc\n\na\n\ne\n\na\n\nb\n\nd\n\nb")},
    });
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "line " + std::to_string(i) + "\r\n";
    EXPECT_NE(run({}, forty).out, run({}, forty).out);
}

TEST_F(Cli, UsageErrorsSayExactlyWhatIsWrong)
{
    const std::string badSeed = "' (a whole number from 0 to 4294967295)";
    const std::string eols = "' for '--eol'\nValid arguments are: 'auto', 'crlf', 'lf'";
    expectRuns({
        {{"--bogus"}, "", usage("unrecognized option '--bogus'")},
        {{"-x"}, "", usage("invalid option -- 'x'")},
        {{"--seed=abc"}, "", usage("invalid seed: 'abc" + badSeed)},
        {{"--seed=12abc"}, "", usage("invalid seed: '12abc" + badSeed)},
        {{"--seed=4294967296"}, "", usage("invalid seed: '4294967296" + badSeed)},
        {{"--eol=cr"}, "", usage("invalid argument 'cr" + eols)},
        {{"-s"}, "", usage("option requires an argument -- 's'")},
        {{"--output"}, "", usage("option '--output' requires an argument")},
        {{"--help=1"}, "", usage("option '--help' doesn't allow an argument")},
        {{"a", "b"}, "", usage("extra operand 'b'")},
        // Whatever a message echoes is quoted, so that no argument can drive the terminal.
        {{"--seed=\033]0;x\a\033[2J"}, "", usage("invalid seed: '\\033]0;x\\a\\033[2J" + badSeed)},
        {{"--eol=\033[2J"}, "", usage("invalid argument '\\033[2J" + eols)},
        {{"--\033[2J"}, "", usage("unrecognized option '--\\033[2J'")},
        {{"-\033"}, "", usage("invalid option -- '\\033'")},
        {{"a", "b\033[2J"}, "", usage("extra operand 'b\\033[2J'")},
        {{"a", "bé网😀"}, "", usage("extra operand 'bé网😀'")},
        {{"--version"}, "", ok("zanvo-scramble 1.0\n")},
    });
    const auto help = run({"-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: zanvo-scramble"), std::string::npos);
    EXPECT_EQ(run({"--hel"}), help);
    // Every line fits a terminal of 80 columns (in characters: the Chinese ones are few).
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(
            std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }), 80)
            << line;

    // Abbreviated long options, and a name after -- that looks like an option.
    file("-list", "q\r\nr");
    EXPECT_EQ(run({"--se=2", "--out=b", "--", "-list"}), ok());
    EXPECT_EQ(contents("b"), "r\r\n\r\nq");
}

// -b leaves out the lines of nothing but white space before the shuffle and before -u: the
// result is the one of the text without them, in every encoding and with either line break.
TEST_F(Cli, DropBlankShufflesTheTextWithoutItsBlankLines)
{
    const std::string blanks = "甲\r\n \t\r\n乙\r\n\u3000\r\n甲\r\n\u00A0\u3000";
    const std::u16string blanks16 = u"甲\r\n \t\r\n乙\r\n\u3000\r\n甲\r\n\u00A0\u3000";
    const std::pair<std::string, std::string> texts[] = {
        {blanks, "甲\r\n乙\r\n甲"},
        {"a\n \nb\n\t\n", "a\nb\n"},
        {utf16(blanks16, false), utf16(u"甲\r\n乙\r\n甲", false)},
        {utf16(blanks16, true), utf16(u"甲\r\n乙\r\n甲", true)},
        {utf32(U"甲\r\n \t\r\n乙", false), utf32(U"甲\r\n乙", false)},
    };
    for (const auto &[text, without] : texts)
        EXPECT_EQ(run({"-b", "-s", "42"}, text), run({"-s", "42"}, without))
            << testing::PrintToString(text);
    EXPECT_EQ(run({"--drop-blank", "-u", "-s", "42"}, blanks), run({"-s", "42"}, "甲\r\n乙"));
    // Without -b, a line of blanks is a line.
    EXPECT_NE(run({"-s", "42"}, blanks).out.find("\u3000"), std::string::npos);
}

TEST_F(Cli, FailuresSayWhatAndWhereAndLeaveNoOutput)
{
    const std::string odd = utf16(u"x\r\ny", false) + "!";
    const std::string noFile = "' for reading: No such file or directory";
    const std::string input = "cannot scramble standard input: ";
    const std::string noCharacter = "UTF-32 text with a value that is no character";
    expectRuns({
        {{"-o", "out.txt", "missing.txt"}, "", failure("cannot open 'missing.txt" + noFile)},
        {{"缺少的文件.txt"}, "", failure("cannot open '缺少的文件.txt" + noFile)},
#ifndef _WIN32 // a name that is not UTF-8 exists only here
        {{"no\nsuch\033[2J\xff'fi\\le\xc2\x85"},
         "",
         failure("cannot open 'no\\nsuch\\033[2J\\377\\'fi\\\\le\\302\\205" + noFile)},
#endif
        {{"."}, "", failure("cannot read '.': Is a directory")},
        {{},
         utf32(U"x", false) + "!",
         failure(input + "UTF-32 text whose length is not a multiple of four bytes")},
        {{}, utf32(U"x\r\n", true) + std::string("\0\0\xD8\0", 4), failure(input + noCharacter)},
        {{}, utf32(U"x", false) + std::string("\0\0\x11\0", 4), failure(input + noCharacter)},
        {{}, odd, failure(input + "UTF-16 text with an odd number of bytes")},
    });
    EXPECT_TRUE(failedWith(run({"-o", "no/such/out.txt"}, "a"),
                           "cannot open 'no/such/out.txt' for writing: "));
    EXPECT_EQ(leftovers(), Words {});

    file("odd.txt", odd);
    EXPECT_EQ(run({"-o", "odd.txt", "odd.txt"}),
              failure("cannot scramble 'odd.txt': UTF-16 text with an odd number of bytes"));
    EXPECT_EQ(contents("odd.txt"), odd);
    EXPECT_EQ(leftovers(), Words {"odd.txt"});
}

TEST_F(Cli, OutputReplacesItsOwnInputWhateverItsName)
{
    Words names = {"list.txt", "测试.txt", "テスト.txt", "😀.txt"};
#ifndef _WIN32
    names.push_back(std::string(250, 'n'));
#endif
    for (const auto &name : names) {
        file(name, "one\r\ntwo\r\nthree\r\n");
        EXPECT_EQ(run({"-s", "1", "--output=" + name, name}), ok()) << name;
        EXPECT_EQ(contents(name), "two\r\n\r\nthree\r\n\r\none") << name;
        EXPECT_EQ(leftovers(), Words {name});
        fs::remove(dir / fromUtf8(name));
    }
}

#ifdef _WIN32

TEST_F(Cli, WindowsDevicesProtectionAndLocksAreRespected)
{
    EXPECT_EQ(run({"-o", "NUL"}, "a\r\nb"), ok());

    const auto readOnly = file("readonly.txt", "old");
    fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(run({"-o", "readonly.txt"}, "new"),
              failure("cannot open 'readonly.txt' for writing: Permission denied"));
    EXPECT_EQ(readFile(readOnly), "old");
    fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);

    // Held open by another program that lets nobody delete it: the replacement fails, the file
    // stays as it was and nothing else is left.
    const auto locked = file("locked.txt", "old");
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const auto held = run({"-o", "locked.txt"}, "new");
    CloseHandle(holder);
    EXPECT_TRUE(failedWith(held, "cannot replace 'locked.txt': "));
    EXPECT_EQ(readFile(locked), "old");
    EXPECT_EQ(leftovers(), (Words {"locked.txt", "readonly.txt"}));

    // An input that another program holds without sharing it, as an antivirus scanning a fresh
    // download does, is waited for as a replace waits, about two seconds, then named as in use.
    const auto input = file("held.txt", "a");
    for (const DWORD ms : {1000ul, 3000ul}) {
        HANDLE hold
            = CreateFileW(input.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hold, INVALID_HANDLE_VALUE);
        std::thread letGo([hold, ms] {
            Sleep(ms);
            CloseHandle(hold);
        });
        const Outcome read = run({"held.txt"});
        letGo.join();
        EXPECT_EQ(read,
                  ms < 2000 ? ok("a")
                            : failure("cannot open 'held.txt' for reading: another program "
                                      "is using it"));
    }

    EXPECT_TRUE(failedWith(run({"-o", "a<b>.txt"}, "x"), "cannot open 'a<b>.txt' for writing: "));
}

// Names past Windows' limit of 260 characters, through the copy of the program whose calls refuse
// them as Windows does: read, written anew and replaced, named relative to the working folder.
// The test's own library reads no folder that deep, so it looks and tidies up by Windows' calls.
TEST_F(Cli, NamesOfAnyLengthAreTakenAsWindowsTakesThem)
{
    std::string folder = ".";
    std::vector<fs::path> folders;
    for (char letter = 'a'; letter < 'k'; ++letter) {
        folder += "\\长路径文件夹" + std::string(20, letter);
        folders.push_back(dir / fromUtf8(folder.substr(2)));
        fs::create_directory(folders.back());
    }
    const std::string list = folder + "\\list.txt", copy = folder + "\\copy.txt";
    file(list, "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(runFaulty({"-s", "1", "-o", copy, list}), ok());
    EXPECT_EQ(runFaulty({"-s", "1", "-o", list, list}), ok());
    EXPECT_EQ(contents(list), "two\r\n\r\nthree\r\n\r\none");
    EXPECT_EQ(contents(copy), contents(list));
    EXPECT_EQ(runFaulty({folder}), failure("cannot read '" + folder + "': Is a directory"));

    Words names;
    WIN32_FIND_DATAW found;
    const std::wstring deepest = L"\\\\?\\" + fs::absolute(folders.back()).wstring();
    HANDLE search = FindFirstFileW((deepest + L"\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != L'.')
            names.push_back(fs::path(found.cFileName).string());
        DeleteFileW((deepest + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Words {"copy.txt", "list.txt"}));
    for (auto level = folders.rbegin(); level != folders.rend(); ++level)
        fs::remove(*level);
}

// A replace that an antivirus, an indexer or a sync client disturbs, through a copy of the program
// whose Windows calls fail as planned: whatever Windows answers, the result or the old text stands
// under the file's name, and where neither can, both are kept beside it and the message says where.
TEST_F(Cli, AReplaceThatWindowsDisturbsNeverLosesTheFile)
{
    const auto disturbed = [this](const char *plan) {
        return runFaulty({"-s", "1", "-o", "list.txt", "list.txt"}, plan);
    };
    const std::string old = "one\r\ntwo\r\nthree\r\n", result = "two\r\n\r\nthree\r\n\r\none";
    for (const char *plan : {"replace:32*3", "replace:5,1175,1176", "replace:1177",
                             "replace:1177 move:32*5", "delete:32*3", "open:5*3"}) {
        file("list.txt", old);
        EXPECT_EQ(disturbed(plan), ok()) << plan;
        EXPECT_EQ(contents("list.txt"), result) << plan;
        EXPECT_EQ(leftovers(), Words {"list.txt"}) << plan;
    }
    for (const char *plan : {"replace:32*20", "replace:1177 move:32*20"}) {
        file("list.txt", old);
        EXPECT_TRUE(failedWith(disturbed(plan), "cannot replace 'list.txt': ")) << plan;
        EXPECT_EQ(contents("list.txt"), old) << plan;
        EXPECT_EQ(leftovers(), Words {"list.txt"}) << plan;
    }
    // Ctrl+Break or a closed console in the middle of a replace ends the program only once a text
    // stands under the name again, the result or the old one, with nothing beside it.
    for (const char *plan : {"replace:1177 ctrl:1", "replace:1177 ctrl:2", "replace:32 ctrl:1"}) {
        file("list.txt", old);
        disturbed(plan);
        const std::string now = contents("list.txt");
        EXPECT_TRUE(now == old || now == result) << plan << ": " << testing::PrintToString(now);
        EXPECT_EQ(leftovers(), Words {"list.txt"}) << plan;
    }
    file("list.txt", old);
    const Outcome stranded = disturbed("replace:1177 move:32*40");
    const Words kept = leftovers();
    ASSERT_EQ(kept.size(), 2u) << stranded.err;
    EXPECT_EQ(kept[1], kept[0] + ".old");
    EXPECT_TRUE(failedWith(stranded,
                           "cannot replace 'list.txt' (the result is in '" + kept[0]
                               + "' and its old text in '" + kept[1] + "', beside it): "));
    EXPECT_EQ(contents(kept[0]), result);
    EXPECT_EQ(contents(kept[1]), old);
}

#else

namespace {

// The permissions of the file, other than the standard streams, that process id has open in
// folder, once it has one: the moment a signal finds the most to clean up.
std::optional<mode_t> waitForOutputOpen(long id, const fs::path &folder)
{
    for (int i = 0; i < 400; ++i) {
        std::error_code ec;
        for (const auto &fd : fs::directory_iterator("/proc/" + std::to_string(id) + "/fd", ec)) {
            struct stat st;
            if (std::stoi(fd.path().filename().string()) > 2
                && fs::read_symlink(fd.path(), ec).string().starts_with(folder.string() + "/")
                && stat(fd.path().c_str(), &st) == 0)
                return st.st_mode & 07777;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

// A run of the program whose input is a pipe the test holds open, so it can be caught mid-run.
class HeldRun {
public:
    explicit HeldRun(Child child) : m_child(std::move(child)), m_pipe(m_child.folder / "held")
    {
        mkfifo(m_pipe.c_str(), 0600);
        // Both ends open before the start, which waits for the child to open its input: a pipe
        // opens only once it has a reader and a writer.
        const int reader = open(m_pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_writer = open(m_pipe.c_str(), O_WRONLY | O_CLOEXEC);
        m_child.input = m_pipe;
        m_id = start(m_child);
        close(reader);
    }
    ~HeldRun()
    {
        if (m_id > 0)
            kill(static_cast<pid_t>(m_id), SIGKILL);
        finish();
    }

    long id() const { return m_id; }

    // Gives the run its whole input, and lets it go on.
    void feed(const std::string &input)
    {
        if (m_writer < 0)
            return;
        if (::write(m_writer, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
            ADD_FAILURE() << "cannot write the held input";
        close(m_writer);
        m_writer = -1;
    }

    Outcome finish(const std::string &input = "")
    {
        feed(input);
        Outcome outcome {-1, {}, {}};
        if (m_id > 0)
            outcome = wait(m_child, m_id);
        m_id = 0;
        fs::remove(m_pipe);
        return outcome;
    }

private:
    Child m_child;
    fs::path m_pipe;
    long m_id = 0;
    int m_writer = -1;
};

// Wrappers that run the program with some signals ignored, as under nohup, or with a file size
// limit and SIGXFSZ ignored, as a shell's ulimit leaves many scripts.
Words ignoring(const std::string &signals)
{
    return {"sh", "-c", "trap '' " + signals + "; exec \"$0\" \"$@\""};
}
Words sizeLimit(int blocks)
{
    return {"sh", "-c",
            "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; exec \"$0\" \"$@\""};
}

#ifdef FS_FAULTS
// A wrapper that runs the program through tests/fs_faults.cpp, with more of its settings.
Words preloaded(const Words &settings = {})
{
    return Words {"env", "LD_PRELOAD=" FS_FAULTS, "ASAN_OPTIONS=verify_asan_link_order=0"}
    + settings;
}
#endif

// The run as it is and, where tests/fs_faults.cpp is built, without unnamed temporary files, as
// on NFS: there the replacement has a name until it takes the file's place.
std::vector<Words> bothKindsOfReplacement()
{
#ifdef FS_FAULTS
    return {{}, preloaded()};
#else
    return {{}};
#endif
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
    HeldRun held(child({"-s", "2", "-o", "secret.txt"}));
    EXPECT_EQ(waitForOutputOpen(held.id(), dir).value_or(07) & 07, 0u);
    EXPECT_EQ(held.finish("a\nb\n"), ok());
    EXPECT_EQ(statOf(secret).st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(secret), "b\n\na");
    // The bits an ACL does not carry come across too.
    const auto shared = file("shared.txt", "a\nb\n");
    ASSERT_EQ(chmod(shared.c_str(), 02750), 0);
    EXPECT_EQ(run({"-s", "2", "-o", "shared.txt", "shared.txt"}), ok());
    EXPECT_EQ(statOf(shared).st_mode & 07777, 02750u);
    EXPECT_EQ(leftovers(), (Words {"secret.txt", "shared.txt"}));
}

TEST_F(Cli, NoSignalLeavesAnythingButTheOldFile)
{
    // Where the file system has no unnamed files, only SIGKILL may leave the named one behind.
    const std::vector<Words> wrappers = bothKindsOfReplacement();
    for (const auto &wrapper : wrappers) {
        for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGXFSZ, SIGXCPU,
                                 SIGALRM, SIGVTALRM, SIGUSR1, SIGUSR2, SIGKILL}) {
            if (!wrapper.empty() && signal == SIGKILL)
                continue;
            file("list.txt", "old\n");
            HeldRun held(child({"-o", "list.txt"}, "", wrapper));
            ASSERT_TRUE(waitForOutputOpen(held.id(), dir)) << signal;
            kill(static_cast<pid_t>(held.id()), signal);
            EXPECT_EQ(held.finish().status, 128 + signal) << signal;
            EXPECT_EQ(leftovers(), Words {"list.txt"}) << signal << " " << wrapper.size();
            EXPECT_EQ(contents("list.txt"), "old\n") << signal;
        }
    }

    // Signals ignored at the start stay ignored, whichever kind of replacement is under way.
    for (const Words &wrapper : wrappers) {
        file("list.txt", "old\n");
        HeldRun ignored(child({"-s", "2", "-o", "list.txt"}, "", wrapper + ignoring("INT HUP")));
        ASSERT_TRUE(waitForOutputOpen(ignored.id(), dir));
        kill(static_cast<pid_t>(ignored.id()), SIGINT);
        kill(static_cast<pid_t>(ignored.id()), SIGHUP);
        EXPECT_EQ(ignored.finish("x\ny\n"), ok()) << wrapper.size();
        EXPECT_EQ(contents("list.txt"), "y\n\nx");
    }
}

#ifdef FS_FAULTS
TEST_F(Cli, ASignalDuringARewriteInPlaceWaitsUntilTheFileIsWhole)
{
    // Old and new of one size and several writes long, so that any mixture shows.
    std::string old, input;
    for (int i = 0; i < 40000; ++i) {
        old += "old line " + std::to_string(100000 + i) + "\n\n";
        input += "new line " + std::to_string(100000 + i) + "\n";
    }
    old.resize(old.size() - 2);
    const auto target = file("list.txt", old);
    fs::create_hard_link(target, dir / "twin.txt");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        writeFile(target, old);
        // The run stops itself after its first write to the file, and gets the signal there.
        HeldRun held(child({"-o", "list.txt"}, "", preloaded({"ZANVO_TEST_STOP_MIDWAY=1"})));
        held.feed(input);
        const auto id = static_cast<pid_t>(held.id());
        int raw = 0;
        ASSERT_EQ(waitpid(id, &raw, WUNTRACED), id);
        ASSERT_TRUE(WIFSTOPPED(raw)) << "the run ended before it wrote";
        kill(id, signal);
        kill(id, SIGCONT);
        EXPECT_EQ(held.finish().status, 128 + signal);
        const std::string now = contents("twin.txt");
        EXPECT_EQ(now.size(), old.size()) << signal;
        EXPECT_EQ(now.find("old"), std::string::npos) << signal;
    }
    // A hard link stays one file with its twin, and a shorter text cuts the old tail off.
    EXPECT_EQ(run({"-o", "list.txt"}, "z"), ok());
    EXPECT_TRUE(contents("twin.txt") == "z") << "the old tail kept";
}
#endif

TEST_F(Cli, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    const std::string big(64 * 1024, 'x');
    file("list.txt", "old\n");
    // What got out before the limit is beside the point: the status and the message are not.
    const auto limited = [&](Words args, int blocks, Words wrapper = {}) {
        auto outcome = run(std::move(args), big + "\n" + big, wrapper + sizeLimit(blocks));
        outcome.out.clear();
        return outcome;
    };
    // A replacement with a name, where the file system has no unnamed files, goes too.
    for (const Words &wrapper : bothKindsOfReplacement()) {
        // An existing file's replacement gets its space first, so this one fails before a write.
        EXPECT_EQ(limited({"-o", "list.txt"}, 64, wrapper),
                  failure("cannot reserve space for 'list.txt': File too large"));
        EXPECT_EQ(limited({"-o", "new.txt"}, 64, wrapper),
                  failure("error writing 'new.txt': File too large"));
        EXPECT_EQ(contents("list.txt"), "old\n");
        EXPECT_EQ(leftovers(), Words {"list.txt"}) << wrapper.size();
    }
    EXPECT_EQ(limited({}, 64), failure("error writing standard output: File too large"));
    // The help text is written as carefully as the result.
    EXPECT_EQ(limited({"--help"}, 1), failure("error writing standard output"));
}

TEST_F(Cli, LinksAreFollowedToTheFileTheyNameAndDevicesWrittenTo)
{
    file("real.txt", "old");
    fs::create_symlink("real.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "chain.txt");
    fs::create_symlink("new.txt", dir / "dangling.txt");
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    // Devices by a name in the test's folder: a fault that took one for a file would replace
    // the link, never the device.
    fs::create_symlink("/dev/null", dir / "null");
    expectRuns({
        {{"-s", "2", "-o", "chain.txt"}, "x\ny", ok()},
        // A link that leads nowhere yet: the file it names is created.
        {{"-o", "dangling.txt"}, "z", ok()},
        {{"-o", "loop1"},
         "z",
         failure("cannot open 'loop1' for writing: Too many levels of symbolic links")},
        {{"-o", "null"}, "a\nb\n", ok()},
    });
    EXPECT_EQ(contents("real.txt"), "y\n\nx");
    EXPECT_EQ(contents("new.txt"), "z");
    for (const char *link : {"link.txt", "chain.txt", "dangling.txt", "loop1", "null"})
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(Cli, PipesAndOurOwnStandardOutputAreWrittenAsTheyAre)
{
    // /dev/stdout through a link of the test's own, as devices above.
    fs::create_symlink("/dev/stdout", dir / "out");
    const auto shell = [&](const std::string &script) {
        return run({"-s", "2", "-o", "out"}, "x\ny", {"sh", "-c", script + "; exit 0"});
    };
    // Standard output a pipe: the name's links end at pipe:[N], which opens nothing.
    EXPECT_EQ(shell("\"$0\" \"$@\" | cat"), ok("y\n\nx"));
    // A pipe under another descriptor's name, which the program does not hold as its own.
    EXPECT_EQ(run({"-s", "2", "-o", "/proc/self/fd/3"}, "x\ny",
                  {"sh", "-c", "\"$0\" \"$@\" 3>&1 >/dev/null | cat"}),
              ok("y\n\nx"));
    // A file that is our own standard output is written through it, never replaced: >> appends.
    const auto log = file("log", "before\n");
    EXPECT_EQ(shell("\"$0\" \"$@\" >>log"), ok());
    EXPECT_EQ(contents("log"), "before\ny\n\nx");
    EXPECT_EQ(leftovers(), (Words {"log", "out"}));
    EXPECT_TRUE(fs::is_symlink(dir / "out"));
}

TEST_F(Cli, AnotherUsersFileKeepsItsOwnerAndWhatTheyMayNotChange)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to rewrite another user's file and to run as another user";
    const auto theirs = file("theirs.txt", "a\nb\n");
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    fs::permissions(theirs, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(run({"-o", "theirs.txt", "theirs.txt"}), ok());
    const auto st = statOf(theirs);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777),
              std::tuple(65534u, 65534u, 0600u));

    fs::permissions(dir, fs::perms::all, fs::perm_options::add);
    if (run({"--version"}, "", asNobody).status != 0)
        GTEST_SKIP() << "the user nobody cannot run the program from here";
    const auto mine = file("protected.txt", "old");
    ASSERT_EQ(chown(mine.c_str(), 65534, 65534), 0);
    fs::permissions(mine, fs::perms::owner_read);
    // Writable in a folder the user may not write to: rewritten in place.
    fs::create_directory(dir / "locked");
    fs::permissions(file("locked/open.txt", "old"), fs::perms::all);
    fs::permissions(dir / "locked",
                    fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
    // Another user's world-writable file in a sticky folder: rewritten in place, owner kept.
    fs::create_directory(dir / "sticky");
    fs::permissions(dir / "sticky", fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(file("sticky/shared.txt", "old"), fs::perms::all);
    // Their own file that they may write but not read: its ACL and attributes cannot be read
    // whole, so it is rewritten in place, never replaced.
    const auto writeOnly = file("write-only.txt", "old");
    ASSERT_EQ(chown(writeOnly.c_str(), 65534, 65534), 0);
    fs::permissions(writeOnly, fs::perms::owner_write, fs::perm_options::replace);
    const auto writeOnlyInode = statOf(writeOnly).st_ino;

    for (const char *name : {"locked/open.txt", "sticky/shared.txt", "write-only.txt"}) {
        EXPECT_EQ(run({"-s", "1", "-o", name}, "b\na\n", asNobody), ok()) << name;
        EXPECT_EQ(contents(name), "b\n\na");
    }
    // Write-protected by its owner: refused, as shuf -o refuses it.
    EXPECT_EQ(run({"-o", "protected.txt"}, "b\na\n", asNobody),
              failure("cannot open 'protected.txt' for writing: Permission denied"));
    EXPECT_EQ(contents("protected.txt"), "old");
    EXPECT_EQ(statOf(dir / "sticky/shared.txt").st_uid, 0u);
    EXPECT_EQ(statOf(writeOnly).st_ino, writeOnlyInode);
    EXPECT_EQ(statOf(writeOnly).st_mode & 07777, 0200u);
}

#endif
