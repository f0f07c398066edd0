// The command line and the standard streams on POSIX: bytes, as they are.
#include "cli/console.h"

#include <unistd.h>

namespace zanvo::cli {

std::vector<std::string> commandLine(int argc, char **argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void useBinaryStreams() { }

LineStyle lineStyle(std::FILE *stream)
{
    return isatty(fileno(stream)) ? LineStyle::Escapes : LineStyle::None;
}

bool writeText(std::FILE *stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size()
        && std::fflush(stream) == 0;
}

} // namespace zanvo::cli
