// The command line of zanvo-scramble, parsed the way coreutils programs parse theirs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zanvo::cli {

enum class EolMode { Auto, CrLf, Lf };

struct Options {
    std::string input = "-"; // "-" is standard input
    std::optional<std::string> output; // absent: standard output
    std::optional<std::uint32_t> seed; // absent: seeded from the system's random device
    EolMode eol = EolMode::Auto;
    bool unique = false; // only the first of each set of equal lines is kept
    bool dropBlank = false; // lines of nothing but white space are dropped
    bool help = false;
    bool version = false;
};

// The options, or the message for a usage error, from the command line (program name first).
std::variant<Options, std::string> parseOptions(std::vector<std::string> arguments);

// The text of --help.
std::string usageText();

} // namespace zanvo::cli
