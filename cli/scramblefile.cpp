// Scrambling a whole file, streamed to its output.
#include "cli/scramblefile.h"

#include "cli/error.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "cli/quote.h"
#include "scrambler/scrambler.h"

#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <string_view>

namespace zanvo::cli {

namespace {

constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeBom = "\xFF\xFE";
constexpr std::string_view utf16BeBom = "\xFE\xFF";
constexpr std::string_view utf32LeBom = std::string_view("\xFF\xFE\0\0", 4);
constexpr std::string_view utf32BeBom = std::string_view("\0\0\xFE\xFF", 4);

std::string_view bomOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom:
        return utf8Bom;
    case Encoding::Utf16Le:
        return utf16LeBom;
    case Encoding::Utf16Be:
        return utf16BeBom;
    case Encoding::Bytes:
    case Encoding::Utf32Le:
    case Encoding::Utf32Be:
        break;
    }
    return {};
}

template<class CharT> LineBreak lineBreakFor(EolMode mode, std::basic_string_view<CharT> text)
{
    switch (mode) {
    case EolMode::CrLf:
        return LineBreak::CrLf;
    case EolMode::Lf:
        return LineBreak::Lf;
    case EolMode::Auto:
        break;
    }
    return text.find(lineBreakText<CharT>(LineBreak::CrLf)) != text.npos ? LineBreak::CrLf
                                                                         : LineBreak::Lf;
}

void swapBytes(char16_t *text, std::size_t size)
{
    std::transform(text, text + size, text, byteSwapped);
}

// The scrambled text, after bom, into output. Text in the other byte order than the machine's
// (foreign) is swapped for the split and goes out swapped back as it is written.
template<class CharT>
void scrambleStream(std::string_view bom, CharT *data, std::size_t size, bool foreign,
                    const Options &options, RandomSource &random, Progress &progress,
                    Output &output)
{
    if constexpr (sizeof(CharT) == 2) {
        if (foreign)
            swapBytes(data, size);
    }
    const std::basic_string_view<CharT> text(data, size);
    struct Sink {
        std::string_view bom;
        bool foreign;
        Progress &progress;
        Output &output;

        void stage(ScrambleStage stage)
        {
            progress.show(stage == ScrambleStage::Splitting ? "splitting" : "shuffling");
        }
        void reserve(std::size_t length)
        {
            const std::size_t total = bom.size() + length * sizeof(CharT);
            output.reserve(total);
            output.write(bom.data(), bom.size());
            output.onFlush([&shown = progress, total](std::size_t done) {
                shown.show("writing", done, total);
            });
        }
        void write(const CharT *p, std::size_t n)
        {
            if (foreign)
                output.writeSwapped(reinterpret_cast<const char16_t *>(p), n);
            else
                output.write(reinterpret_cast<const char *>(p), n * sizeof(CharT));
        }
    };
    scrambleTo(text, random, lineBreakFor(options.eol, text), Sink {bom, foreign, progress, output},
               options.unique ? Duplicates::Drop : Duplicates::Keep,
               options.dropBlank ? BlankLines::Drop : BlankLines::Keep);
}

} // namespace

Encoding detectEncoding(const char *data, std::size_t size)
{
    const std::string_view head(data, std::min<std::size_t>(size, 4));
    if (head.starts_with(utf8Bom))
        return Encoding::Utf8Bom;
    // UTF-32's little-endian mark begins with UTF-16's.
    if (head.starts_with(utf32LeBom))
        return Encoding::Utf32Le;
    if (head.starts_with(utf32BeBom))
        return Encoding::Utf32Be;
    if (head.starts_with(utf16LeBom))
        return Encoding::Utf16Le;
    if (head.starts_with(utf16BeBom))
        return Encoding::Utf16Be;
    return Encoding::Bytes;
}

void scrambleFile(const Options &options)
{
    Progress progress;
    // The output first: a target that cannot be created is reported before a long read.
    Output output(options.output);
    const InputBuffer input = readInput(options.input, [&](std::size_t done, std::size_t total) {
        progress.show("reading", done, total);
    });
    RandomSource random(options.seed ? *options.seed : std::random_device()());

    const Encoding encoding = detectEncoding(input.data.get(), input.size);
    const std::string_view bom = bomOf(encoding);
    char *body = input.data.get() + bom.size();
    const std::size_t bodyBytes = input.size - bom.size();

    if (encoding == Encoding::Utf32Le || encoding == Encoding::Utf32Be) {
        // Rare enough not to earn a third character width in the core: passed on unchanged.
        output.reserve(input.size);
        output.write(input.data.get(), input.size);
    } else if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        // Half a character at the end: no way to tell where the text went wrong, so it is not
        // touched, rather than shuffled into something else.
        if (bodyBytes % 2 != 0)
            throw Error("cannot scramble " + inputName(options.input)
                        + ": UTF-16 text with an odd number of bytes");
        // The buffer comes from the allocator untyped, so it holds UTF-16 units as well as bytes.
        const bool foreign
            = (encoding == Encoding::Utf16Be) != (std::endian::native == std::endian::big);
        scrambleStream(bom, reinterpret_cast<char16_t *>(body), bodyBytes / 2, foreign, options,
                       random, progress, output);
    } else {
        scrambleStream(bom, body, bodyBytes, false, options, random, progress, output);
    }
    progress.clear();
    output.commit();
}

} // namespace zanvo::cli
