// What the tests of zanvo-scramble share: the program run as a child in a folder of the test's
// own, and the outcomes it is expected to give.
#pragma once

#include "childprocess.h"
#include "tempfolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
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

inline Words operator+(Words words, const Words &more)
{
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

inline Outcome ok(std::string out = "")
{
    return {0, std::move(out), ""};
}

inline Outcome failure(const std::string &message, int status = 1)
{
    return {status, "", "zanvo-scramble: " + message + "\n"};
}

// Whether a run failed with a message that begins with what, the system's own words after it.
inline testing::AssertionResult failedWith(const Outcome &o, const std::string &what)
{
    if (o.status == 1 && o.out.empty() && o.err.starts_with("zanvo-scramble: " + what))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << testing::PrintToString(o);
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
    TempFolder temp;
    const fs::path dir = temp.path;

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
    Outcome run(Words args, const std::string &input = "", Words wrapper = {})
    {
        return zanvo::test::run(child(std::move(args), input, std::move(wrapper)));
    }
#ifdef ZANVO_SCRAMBLE_FAULTS
    // The copy of the program whose Windows calls fail as plan says (tests/windows_faults.cpp).
    Outcome runFaulty(Words args, const char *plan = "")
    {
        Child faulty = child(std::move(args));
        faulty.program = besideThisProgram(ZANVO_SCRAMBLE_FAULTS);
        _putenv_s("ZANVO_TEST_FAULTS", plan);
        const Outcome outcome = zanvo::test::run(faulty);
        _putenv_s("ZANVO_TEST_FAULTS", "");
        return outcome;
    }
#endif
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
