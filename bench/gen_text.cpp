// Writes the benchmark text of the given size in bytes (UTF-8) to standard output.
#include "bench/textgen.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_text BYTES\n");
        return 2;
    }
#ifdef _WIN32
    // The text's own CR LF, not a CR CR LF of the C library's making.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::string text = zanvo::bench::cjkLinesUtf8(std::strtoull(argv[1], nullptr, 10));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout))
        return 1;
    return 0;
}
