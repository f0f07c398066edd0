// Running a program as a test's child process, without a shell: arguments go as they are, the
// standard streams go to and from files in the test's own folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zanvo::test {

struct Outcome {
    int status; // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
    bool operator==(const Outcome &) const = default;
};

struct Child {
    std::filesystem::path program;
    std::vector<std::string> arguments; // UTF-8
    std::filesystem::path folder; // where the streams' files go, and the working folder
    std::optional<std::filesystem::path> input; // standard input; empty where absent
    std::vector<std::string> wrapper; // a program and arguments put in front, as setpriv ... --
};

// Starts child and returns its process id; wait() collects it.
long start(const Child &child);
Outcome wait(const Child &child, long id);

inline Outcome run(const Child &child)
{
    return wait(child, start(child));
}

// The file name in the folder that holds the running test program.
std::filesystem::path besideThisProgram(const std::string &name);

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &bytes);

} // namespace zanvo::test
