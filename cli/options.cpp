// Parsing zanvo-scramble's command line.
#include "cli/options.h"

#include <charconv>
#include <string_view>

namespace zanvo::cli {

namespace {

std::optional<std::uint32_t> parseSeed(std::string_view text)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<EolMode> parseEol(std::string_view text)
{
    if (text == "auto")
        return EolMode::Auto;
    if (text == "crlf")
        return EolMode::CrLf;
    if (text == "lf")
        return EolMode::Lf;
    return std::nullopt;
}

// Applies one option that takes a value; returns the usage error, if any.
std::optional<std::string> apply(Options &options, char which, std::string_view value)
{
    switch (which) {
    case 'o':
        options.output = std::string(value);
        return std::nullopt;
    case 's':
        if (auto seed = parseSeed(value)) {
            options.seed = seed;
            return std::nullopt;
        }
        return "invalid seed: '" + std::string(value) + "' (a whole number from 0 to 4294967295)";
    default:
        if (auto eol = parseEol(value)) {
            options.eol = *eol;
            return std::nullopt;
        }
        return "invalid argument '" + std::string(value)
            + "' for '--eol'\nValid arguments are: 'auto', 'crlf', 'lf'";
    }
}

} // namespace

std::variant<Options, std::string> parseOptions(int argc, char **argv)
{
    Options options;
    bool haveInput = false;
    bool onlyOperands = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto next = [&]() -> std::optional<std::string_view> {
            if (i + 1 < argc)
                return std::string_view(argv[++i]);
            return std::nullopt;
        };
        if (onlyOperands || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            if (haveInput)
                return "extra operand '" + std::string(arg) + "'";
            options.input = std::string(arg);
            haveInput = true;
        } else if (arg == "--") {
            onlyOperands = true;
        } else if (arg.starts_with("--")) {
            const auto eq = arg.find('=');
            const std::string_view name = arg.substr(2, eq == arg.npos ? arg.npos : eq - 2);
            if (name == "help" || name == "version") {
                if (eq != arg.npos)
                    return "option '--" + std::string(name) + "' doesn't allow an argument";
                (name == "help" ? options.help : options.version) = true;
                continue;
            }
            const char which = name == "output" ? 'o'
                : name == "seed"                ? 's'
                : name == "eol"                 ? 'e'
                                                : 0;
            if (!which)
                return "unrecognized option '" + std::string(arg) + "'";
            std::optional<std::string_view> value;
            if (eq != arg.npos)
                value = arg.substr(eq + 1);
            else
                value = next();
            if (!value)
                return "option '--" + std::string(name) + "' requires an argument";
            if (auto error = apply(options, which, *value))
                return *error;
        } else {
            const char which = arg[1];
            if (which == 'h' && arg.size() == 2) {
                options.help = true;
                continue;
            }
            if (which != 'o' && which != 's')
                return "invalid option -- '" + std::string(1, which) + "'";
            std::optional<std::string_view> value;
            if (arg.size() > 2)
                value = arg.substr(2);
            else
                value = next();
            if (!value)
                return "option requires an argument -- '" + std::string(1, which) + "'";
            if (auto error = apply(options, which, *value))
                return *error;
        }
    }
    return options;
}

std::string usageText()
{
    return R"(Usage: zanvo-scramble [OPTION]... [FILE]
Drop the empty lines of FILE, shuffle the other lines and set them apart by one
empty line, as the Start button of Zanvo伪原创工具 does.

With no FILE, or when FILE is -, read standard input.

  -o, --output=FILE    write the result to FILE instead of standard output;
                         FILE is replaced only once the result is complete,
                         so it may be the input file
  -s, --seed=N         shuffle reproducibly from seed N (0 to 4294967295);
                         the same seed and input give the same output everywhere
      --eol=MODE       what ends a line: crlf (CR LF only), lf (every LF),
                         or auto (the default: crlf if the input holds a CR LF)
  -h, --help           display this help and exit
      --version        output version information and exit

Text is handled as bytes, so any encoding and any byte passes through; a UTF-8
byte-order mark stays in front. A file that starts with a UTF-16 byte-order
mark is scrambled as UTF-16 and written back in the same encoding.

Exit status is 0 on success, 1 when reading or writing fails, 2 on a usage error.
)";
}

} // namespace zanvo::cli
