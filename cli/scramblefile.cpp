// Scrambling a whole file, streamed to its output.
#include "cli/scramblefile.h"

#include "cli/error.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "cli/quote.h"
#include "runtime/encoding.h"
#include "runtime/largealloc.h"
#include "scrambler/scrambler.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zanvo::cli {

namespace {

using Utf16Text = std::vector<char16_t, LargeAllocator<char16_t>>;

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

// How UTF-16 text goes out: as it is, with its two bytes swapped, or as the UTF-32 it was read
// from.
enum class Units { AsTheyAre, Swapped, Utf32Le, Utf32Be };

// UTF-32 text as UTF-16, which the text core knows, with the number of characters that take
// two units; nothing where a value is no character.
std::optional<Utf16Text> utf16FromUtf32(std::string_view bytes, TextEncoding encoding,
                                        std::size_t &pairs)
{
    Utf16Text out;
    out.reserve(bytes.size() / 4);
    pairs = 0;
    const bool whole = eachCharacter(bytes, encoding, [&](char32_t code) {
        if (code < 0x10000) {
            out.push_back(static_cast<char16_t>(code));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            ++pairs;
        }
    });
    return whole ? std::optional(std::move(out)) : std::nullopt;
}

// The scrambled text, after bom, into output. Text in the other byte order than the machine's
// is swapped for the split and goes out swapped back as it is written; text read as UTF-32
// goes out as UTF-32, where pairs of its characters took two UTF-16 units.
template<class CharT>
void scrambleStream(std::string_view bom, CharT *data, std::size_t size, Units units,
                    const Options &options, RandomSource &random, Progress &progress,
                    Output &output, std::size_t pairs = 0)
{
    const bool foreign = units == Units::Swapped;
    if constexpr (sizeof(CharT) == 2) {
        if (foreign)
            swapBytes(data, size);
    }
    const std::basic_string_view<CharT> text(data, size);
    struct Sink {
        std::string_view bom;
        Units units;
        std::size_t pairs;
        Progress &progress;
        Output &output;
        char16_t high = 0; // the first half of a pair, while its second is to come

        void stage(ScrambleStage stage)
        {
            progress.show(stage == ScrambleStage::Splitting ? "splitting" : "shuffling");
        }
        void reserve(std::size_t length)
        {
            // Lines left out may hold pairs, so UTF-32 reserves what the output needs at least;
            // it is never longer than its input.
            const bool utf32 = units == Units::Utf32Le || units == Units::Utf32Be;
            const std::size_t total = bom.size()
                + (utf32 ? 4 * (length - std::min(length, pairs)) : length * sizeof(CharT));
            output.reserve(total);
            output.write(bom.data(), bom.size());
            output.onFlush([&shown = progress, total](std::size_t done) {
                shown.show("writing", done, total);
            });
        }
        void write(const CharT *p, std::size_t n)
        {
            if (units == Units::Swapped)
                output.writeSwapped(reinterpret_cast<const char16_t *>(p), n);
            else if (units == Units::AsTheyAre)
                output.write(reinterpret_cast<const char *>(p), n * sizeof(CharT));
            else
                writeUtf32(reinterpret_cast<const char16_t *>(p), n);
        }
        void writeUtf32(const char16_t *p, std::size_t n)
        {
            char bytes[4096];
            std::size_t used = 0;
            for (std::size_t i = 0; i < n; ++i) {
                char32_t code = p[i];
                if (code >= 0xD800 && code <= 0xDBFF) {
                    high = p[i];
                    continue;
                }
                if (code >= 0xDC00 && code <= 0xDFFF)
                    code = 0x10000 + ((char32_t(high) - 0xD800) << 10) + (code - 0xDC00);
                for (unsigned k = 0; k < 4; ++k)
                    bytes[used++]
                        = static_cast<char>(code >> (8 * (units == Units::Utf32Be ? 3 - k : k)));
                if (used == sizeof bytes) {
                    output.write(bytes, used);
                    used = 0;
                }
            }
            output.write(bytes, used);
        }
    };
    scrambleTo(text, random, lineBreakFor(options.eol, text),
               Sink {bom, units, pairs, progress, output},
               options.unique ? Duplicates::Drop : Duplicates::Keep,
               options.dropBlank ? BlankLines::Drop : BlankLines::Keep);
}

} // namespace

void scrambleFile(const Options &options)
{
    Progress progress;
    // The output first: a target that cannot be created is reported before a long read.
    Output output(options.output);
    const InputBuffer input = readInput(options.input, [&](std::size_t done, std::size_t total) {
        progress.show("reading", done, total);
    });
    RandomSource random(options.seed ? *options.seed : std::random_device()());
    output.takeEncodingOf(std::string_view(input.data.get(), input.size));

    // A byte-order mark stays in front, and names the text's units.
    const std::optional<TextEncoding> encoding
        = markedEncoding(std::string_view(input.data.get(), input.size));
    const std::string_view bom = encoding ? byteOrderMark(*encoding) : std::string_view();
    char *body = input.data.get() + bom.size();
    const std::size_t bodyBytes = input.size - bom.size();

    if (encoding == TextEncoding::Utf32Le || encoding == TextEncoding::Utf32Be) {
        // Rare enough not to earn a third character width in the core: scrambled as UTF-16.
        if (bodyBytes % 4 != 0)
            throw Error("cannot scramble " + inputName(options.input)
                        + ": UTF-32 text whose length is not a multiple of four bytes");
        std::size_t pairs = 0;
        std::optional<Utf16Text> text
            = utf16FromUtf32(std::string_view(body, bodyBytes), *encoding, pairs);
        if (!text)
            throw Error("cannot scramble " + inputName(options.input)
                        + ": UTF-32 text with a value that is no character");
        scrambleStream(bom, text->data(), text->size(),
                       encoding == TextEncoding::Utf32Be ? Units::Utf32Be : Units::Utf32Le, options,
                       random, progress, output, pairs);
    } else if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        // Half a character at the end: no way to tell where the text went wrong, so it is not
        // touched, rather than shuffled into something else.
        if (bodyBytes % 2 != 0)
            throw Error("cannot scramble " + inputName(options.input)
                        + ": UTF-16 text with an odd number of bytes");
        // The buffer comes from the allocator untyped, so it holds UTF-16 units as well as bytes.
        const bool foreign
            = (encoding == TextEncoding::Utf16Be) != (std::endian::native == std::endian::big);
        scrambleStream(bom, reinterpret_cast<char16_t *>(body), bodyBytes / 2,
                       foreign ? Units::Swapped : Units::AsTheyAre, options, random, progress,
                       output);
    } else {
        scrambleStream(bom, body, bodyBytes, Units::AsTheyAre, options, random, progress, output);
    }
    progress.clear();
    output.commit();
}

} // namespace zanvo::cli
