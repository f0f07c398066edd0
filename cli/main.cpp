// zanvo-scramble: the Start button of the window on the command line, for files of any size.
#include "cli/error.h"
#include "cli/options.h"
#include "cli/scramblefile.h"
#include "runtime/runtimeerror.h"

#include <cstdio>
#include <new>

namespace {

int failure(const char *message, int status)
{
    std::fprintf(stderr, "zanvo-scramble: %s\n", message);
    return status;
}

// Prints text on standard output for --help and --version, checking that it got there.
int print(const std::string &text)
{
    if (std::fputs(text.c_str(), stdout) == EOF || std::fflush(stdout) != 0
        || std::fclose(stdout) != 0)
        return failure("error writing standard output", 1);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zanvo::cli;
    auto parsed = parseOptions(argc, argv);
    if (const auto *error = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr,
                     "zanvo-scramble: %s\nTry 'zanvo-scramble --help' for more information.\n",
                     error->c_str());
        return 2;
    }
    const Options &options = std::get<Options>(parsed);
    if (options.help)
        return print(usageText());
    if (options.version)
        return print("zanvo-scramble " ZANVO_VERSION "\n");
    try {
        scrambleFile(options);
        return 0;
    } catch (const Error &e) {
        return failure(e.what(), 1);
    } catch (const zanvo::RuntimeError &e) {
        const std::string message
            = "run-time error " + std::to_string(e.number()) + ": " + e.what();
        return failure(message.c_str(), 1);
    } catch (const std::bad_alloc &) {
        return failure("out of memory", 1);
    }
}
