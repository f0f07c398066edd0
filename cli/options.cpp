// Parsing zanvo-scramble's command line with getopt_long, as coreutils programs parse theirs:
// long options may be abbreviated, short ones bundled, and "--" ends the options.
#include "cli/options.h"

#include "cli/quote.h"

#include <charconv>
#include <getopt.h>
#include <string_view>

namespace zanvo::cli {

namespace {

// Long options answer with codes of their own, so that a message can name the option as typed.
enum LongOnly {
    OutputCode = 0x100,
    SeedCode,
    EolCode,
    UniqueCode,
    DropBlankCode,
    HelpCode,
    VersionCode
};

const option longOptions[] = {
    {"output", required_argument, nullptr, OutputCode},
    {"seed", required_argument, nullptr, SeedCode},
    {"eol", required_argument, nullptr, EolCode},
    {"unique", no_argument, nullptr, UniqueCode},
    {"drop-blank", no_argument, nullptr, DropBlankCode},
    {"help", no_argument, nullptr, HelpCode},
    {"version", no_argument, nullptr, VersionCode},
    {nullptr, 0, nullptr, 0},
};

const option *longOption(int code)
{
    for (const option &o : longOptions)
        if (o.name && o.val == code)
            return &o;
    return nullptr;
}

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

} // namespace

std::variant<Options, std::string> parseOptions(std::vector<std::string> arguments)
{
    std::vector<char *> pointers;
    for (auto &argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    char **argv = pointers.data();
    const int argc = static_cast<int>(arguments.size());
    Options options;
    // Zero starts getopt afresh, so the command line may be parsed more than once.
    optind = 0;
    opterr = 0;
    while (true) {
        const int c = getopt_long(argc, argv, ":bho:s:u", longOptions, nullptr);
        if (c == -1)
            break;
        switch (c) {
        case 'h':
        case HelpCode:
            options.help = true;
            break;
        case VersionCode:
            options.version = true;
            break;
        case 'u':
        case UniqueCode:
            options.unique = true;
            break;
        case 'b':
        case DropBlankCode:
            options.dropBlank = true;
            break;
        case 'o':
        case OutputCode:
            options.output = std::string(optarg);
            break;
        case 's':
        case SeedCode:
            options.seed = parseSeed(optarg);
            if (!options.seed)
                return "invalid seed: " + quoteName(optarg)
                    + " (a whole number from 0 to 4294967295)";
            break;
        case EolCode:
            if (const auto eol = parseEol(optarg))
                options.eol = *eol;
            else
                return "invalid argument " + quoteName(optarg)
                    + " for '--eol'\nValid arguments are: 'auto', 'crlf', 'lf'";
            break;
        default:
            // getopt_long answers ':' for a missing argument, and some versions for an argument
            // given to an option that takes none as well: the option itself tells which.
            if (const option *o = longOption(optopt))
                return "option '--" + std::string(o->name)
                    + (o->has_arg == no_argument ? "' doesn't allow an argument"
                                                 : "' requires an argument");
            if (c == ':')
                return "option requires an argument -- " + quoteName(std::string(1, char(optopt)));
            if (optopt != 0)
                return "invalid option -- " + quoteName(std::string(1, char(optopt)));
            return "unrecognized option " + quoteName(argv[optind - 1]);
        }
    }
    if (optind < argc)
        options.input = argv[optind++];
    if (optind < argc)
        return "extra operand " + quoteName(argv[optind]);
    return options;
}

std::string usageText()
{
    return R"(Usage: zanvo-scramble [OPTION]... [FILE]
Drop the empty lines of FILE, shuffle the other lines and set them apart by one
empty line, as the Start button of Zanvo伪原创工具 does.

With no FILE, or when FILE is -, read standard input.

  -o, --output=FILE    write the result to FILE instead of standard output;
                         FILE may be the input file (see below)
  -s, --seed=N         shuffle reproducibly from seed N (0 to 4294967295);
                         the same seed and input give the same output everywhere
      --eol=MODE       what ends a line: crlf (CR LF only), lf (every LF),
                         or auto (the default: crlf if the input holds a CR LF)
  -u, --unique         keep only the first of each set of equal lines (compared
                         without their line breaks), in the shuffle as well
  -b, --drop-blank     drop, with the empty lines, those of nothing but white
                         space (blanks, tabs, no-break and ideographic spaces)
  -h, --help           display this help and exit
      --version        output version information and exit

The whole input is read before FILE is touched. FILE is then replaced by the
result whole, keeping what it has besides its text, or, where it cannot be,
rewritten in place; a failure or an interruption leaves the old FILE as it was
(only SIGKILL or a power cut during a rewrite in place can leave it part old and
part new). Links are followed to the file they name, and a write-protected FILE
is refused. The manual, zanvo-scramble(1), says under REPLACING A FILE which
happens when, and what FILE keeps.

Text is handled as bytes, so any encoding and any byte passes through; a UTF-8
byte-order mark stays in front. A file that starts with a UTF-16 byte-order
mark is scrambled as UTF-16 and written back in the same encoding, and so is one
with a UTF-32 byte-order mark as UTF-32.

Exit status: 0 on success, 1 when reading or writing fails, 2 on a usage error.
)";
}

} // namespace zanvo::cli
