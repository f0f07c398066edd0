// What the tests of zanvo-scramble share: the program run as a child in a folder of the test's
// own, and the outcomes it is expected to give.
#pragma once

#include "childprocess.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace zanvo::test {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

inline void PrintTo(const Outcome &o, std::ostream *os)
{
    *os << "status " << o.status << ", out " << testing::PrintToString(o.out) << ", err "
        << testing::PrintToString(o.err);
}

inline Outcome ok(std::string out = "")
{
    return {0, std::move(out), ""};
}

inline Outcome failure(const std::string &message, int status = 1)
{
    return {status, "", "zanvo-scramble: " + message + "\n"};
}

// A wrapper that runs the program as the user nobody, where the tests run as root.
inline const Words asNobody = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};

inline fs::path fromUtf8(const std::string &name)
{
    return fs::path(std::u8string(name.begin(), name.end()));
}

struct Case {
    Words args;
    std::string input;
    Outcome expected;
};

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
        // Links are left alone: a chmod through one would change what it names, such as a device.
        for (const auto &entry : fs::recursive_directory_iterator(dir, ignored))
            if (!entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    fs::path file(const std::string &name, const std::string &bytes)
    {
        writeFile(dir / fromUtf8(name), bytes);
        return dir / fromUtf8(name);
    }
    std::string contents(const std::string &name) { return readFile(dir / fromUtf8(name)); }

    // The program in the test's folder, so that names in messages are the short ones given.
    Child child(Words args, const std::string &input = "", Words wrapper = {})
    {
        return {.program = besideThisProgram(ZANVO_SCRAMBLE),
                .arguments = std::move(args),
                .folder = dir,
                .input = file("stdin", input),
                .wrapper = std::move(wrapper)};
    }
    Outcome run(Words args, const std::string &input = "")
    {
        return zanvo::test::run(child(std::move(args), input));
    }
    void expectRuns(std::initializer_list<Case> cases)
    {
        for (const auto &c : cases)
            EXPECT_EQ(run(c.args, c.input), c.expected)
                << testing::PrintToString(c.args) << " on " << testing::PrintToString(c.input);
    }

    // The folder's names, without the test's own stream files.
    Words leftovers() const
    {
        Words names;
        for (const auto &entry : fs::directory_iterator(dir)) {
            const auto name = entry.path().filename().u8string();
            if (name != u8"stdin" && name != u8"stdout" && name != u8"stderr")
                names.emplace_back(name.begin(), name.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace zanvo::test
