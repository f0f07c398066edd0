// zanvo-scramble: the Start button of the window on the command line, for files of any size.
#include "cli/console.h"
#include "cli/error.h"
#include "cli/options.h"
#include "cli/scramblefile.h"
#include "runtime/dllsearch.h"
#include "runtime/runtimeerror.h"

#include <cstdio>
#include <new>

namespace {

using zanvo::cli::writeText;

int failure(const std::string &message, int status)
{
    writeText(stderr, "zanvo-scramble: " + message + "\n");
    return status;
}

// Prints text on standard output for --help and --version, checking that it got there.
int print(const std::string &text)
{
    if (!writeText(stdout, text) || std::fclose(stdout) != 0)
        return failure("error writing standard output", 1);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zanvo::cli;
    zanvo::searchDllsInTheSystemFolderOnly();
    useBinaryStreams();
    auto parsed = parseOptions(commandLine(argc, argv));
    if (const auto *error = std::get_if<std::string>(&parsed))
        return failure(*error + "\nTry 'zanvo-scramble --help' for more information.", 2);
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
        return failure("run-time error " + std::to_string(e.number()) + ": " + e.what(), 1);
    } catch (const std::bad_alloc &) {
        return failure("out of memory", 1);
    } catch (const std::exception &e) {
        // A library's own error (a system call's, a length past what a string holds) ends the
        // run as every error does, with its message, never with terminate's.
        return failure(e.what(), 1);
    } catch (...) {
        return failure("internal error", 1);
    }
}
