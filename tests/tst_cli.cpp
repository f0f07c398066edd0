// zanvo-scramble run as a process, as scripts run it: encodings, line breaks, in-place output,
// failures and their exit codes, and reproducible seeds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A path quoted for the shell.
std::string q(const fs::path &path)
{
    std::string quoted(1, '\'');
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class Cli : public testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        dir = fs::temp_directory_path() / "tst_cli-";
        dir += std::to_string(std::random_device()());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path file(const std::string &name, const std::string &bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }

    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    // Runs the program with args (already quoted for the shell) and stdin from input.
    Outcome run(const std::string &args, const std::string &input = "",
                const std::string &stdoutTo = "")
    {
        const auto in = file("stdin", input);
        const auto out = stdoutTo.empty() ? (dir / "stdout").string() : stdoutTo;
        const std::string command = q(ZANVO_SCRAMBLE) + " " + args + " <" + q(in) + " >" + q(out)
            + " 2>" + q(dir / "stderr");
        const int raw = std::system(command.c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        fs::remove(in);
        return {status, stdoutTo.empty() ? read(out) : "", read(dir / "stderr")};
    }

    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

std::vector<std::string> split(const std::string &text, const std::string &sep)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(sep, start)) != text.npos; start = at + sep.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    std::sort(parts.begin(), parts.end());
    return parts;
}

using Lines = std::vector<std::string>;

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

} // namespace

TEST_F(Cli, CrLfAndLfInputsKeepTheirBreaks)
{
    auto crlf = run("-s 1", "b\r\n\r\na\r\nc\r\n");
    EXPECT_EQ(crlf.status, 0) << crlf.err;
    EXPECT_EQ(split(crlf.out, "\r\n\r\n"), (Lines {"a", "b", "c"}));

    auto lf = run("-s 1", "b\n\na\r\rc\n");
    EXPECT_EQ(split(lf.out, "\n\n"), (Lines {"a\r\rc", "b"}));

    // In CR LF mode a lone LF is an ordinary character, so this is one line.
    EXPECT_EQ(run("--eol=crlf", "x\ny\nz").out, "x\ny\nz");
    EXPECT_EQ(split(run("--eol lf -s 2", "p\r\nq\r\n").out, "\n\n"), (Lines {"p\r", "q\r"}));
}

TEST_F(Cli, BytesPassThroughAndAUtf8MarkStaysInFront)
{
    const std::string odd("\xff\xfe\x00z", 4); // not UTF-8, and an odd-length "UTF-16" text
    EXPECT_EQ(run("", odd).out, odd);

    const auto out = run("-s 9",
                         "\xEF\xBB\xBF"
                         "一\r\n二\r\n三")
                         .out;
    ASSERT_EQ(out.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(split(out.substr(3), "\r\n\r\n"), (Lines {"一", "三", "二"}));
}

TEST_F(Cli, Utf16WithAMarkIsScrambledAsUtf16InItsOwnByteOrder)
{
    for (const bool big : {false, true}) {
        const auto out = run("-s 4", utf16(u"一\r\n\r\nab\r\n", big)).out;
        EXPECT_TRUE(out == utf16(u"一\r\n\r\nab", big) || out == utf16(u"ab\r\n\r\n一", big))
            << (big ? "big-endian" : "little-endian");
    }
}

TEST_F(Cli, OutputMayReplaceItsOwnInputAndNothingElseIsLeft)
{
    const auto path = file("list.txt", "one\r\ntwo\r\nthree\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    auto result = run("-s 3 -o " + q(path) + " " + q(path));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(split(read(path), "\r\n\r\n"), (Lines {"one", "three", "two"}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(leftovers(), (std::vector<std::string> {"list.txt", "stderr", "stdout"}));
}

TEST_F(Cli, FailuresSayWhatAndWhereAndLeaveNoOutput)
{
    const auto target = (dir / "out.txt").string();
    auto missing = run("-o " + q(target) + " " + q(dir / "missing.txt"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("zanvo-scramble: "), std::string::npos);
    EXPECT_NE(missing.err.find("missing.txt"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(target));

    auto folder = run("-o " + q(dir / "no" / "such" / "out.txt"), "a");
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("out.txt"), std::string::npos) << folder.err;

    auto full = run("", "a\nb\nc\n", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;

    auto directory = run(q(dir));
    EXPECT_EQ(directory.status, 1);

    // A device is written to, never replaced by a file.
    auto device = run("-o /dev/full", "a\nb\n");
    EXPECT_EQ(device.status, 1);
    EXPECT_NE(device.err.find("/dev/full"), std::string::npos) << device.err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(Cli, AnInterruptedRunLeavesNoTemporaryFile)
{
    // The input is a pipe held open, so the program waits with its temporary file created.
    const auto fifo = dir / "in";
    const std::string script = "mkfifo " + q(fifo) + "; " + q(ZANVO_SCRAMBLE) + " -o "
        + q(dir / "out.txt") + " <" + q(fifo) + " & p=$!; exec 3>" + q(fifo)
        + "; for i in $(seq 100); do ls " + q(dir)
        + " | grep -q '[.]tmp$' && break; sleep 0.05; done; kill -TERM $p; wait $p; echo $?; rm "
        + q(fifo);
    FILE *shell = popen(("sh -c " + q(script)).c_str(), "r");
    ASSERT_NE(shell, nullptr);
    char status[16] = {};
    ASSERT_NE(std::fgets(status, sizeof status, shell), nullptr);
    pclose(shell);
    EXPECT_EQ(std::string(status), "143\n");
    EXPECT_EQ(leftovers(), std::vector<std::string> {});
}

TEST_F(Cli, OutputThroughALinkReplacesTheFileAndKeepsTheLink)
{
    const auto real = file("real.txt", "old");
    fs::create_symlink(real, dir / "link.txt");
    auto result = run("-s 1 -o " + q(dir / "link.txt"), "x\ny");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(split(read(real), "\n\n"), (Lines {"x", "y"}));
}

TEST_F(Cli, UsageErrorsExitWithTwo)
{
    for (const char *args : {"--bogus", "-x", "--seed=abc", "--seed=-1", "--seed=4294967296",
                             "--eol=cr", "-s", "--output", "a b", "--help=1"}) {
        auto result = run(args);
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_NE(result.err.find("Try 'zanvo-scramble --help'"), std::string::npos) << args;
        EXPECT_EQ(result.out, "") << args;
    }
    EXPECT_EQ(run("--help").status, 0);
    EXPECT_EQ(run("--version").out, "zanvo-scramble 1.0\n");
}

TEST_F(Cli, EmptyAndBlankInputsGiveEmptyOutput)
{
    for (const char *input : {"", "\r\n\r\n\r\n", "\n\n"}) {
        auto result = run("", input);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(run("", "\xEF\xBB\xBF").out, "\xEF\xBB\xBF");
}

TEST_F(Cli, SeedsReproduceAndTheirAbsenceDoesNot)
{
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "line ";
        text += std::to_string(i) + "\r\n";
    }
    const auto a = run("-s 42", text).out;
    EXPECT_EQ(run("--seed=42", text).out, a);
    EXPECT_EQ(run("-s42 -", text).out, a);
    EXPECT_NE(run("-s 43", text).out, a);
    EXPECT_NE(run("", text).out, run("", text).out);
    // Fixed for good: the engine, the draw and the swap rule are the same on every platform.
    EXPECT_EQ(run("-s 42", "a\nb\nc\nd\ne").out, "a\n\nd\n\ne\n\nc\n\nb");
}
