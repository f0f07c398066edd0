// The Chinese code pages through iconv.
#include "runtime/encoding.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <system_error>

namespace zanvo {

bool readsAllOfGb18030()
{
    return true;
}

std::optional<std::string> chineseToUtf8(std::string_view bytes, TextEncoding encoding)
{
    const char *name = encoding == TextEncoding::Gb18030 ? "GB18030" : "CP936";
    const iconv_t open = iconv_open("UTF-8", name);
    if (open == reinterpret_cast<iconv_t>(-1))
        throw std::system_error(errno, std::generic_category(), std::string("iconv_open ") + name);
    const std::unique_ptr<void, int (*)(iconv_t)> converter(open, iconv_close);
    // A character takes at most half as many bytes again in UTF-8 (two bytes become three, four
    // stay four, € one becomes three); more room is made should a converter see it otherwise.
    std::string out(bytes.size() + bytes.size() / 2 + 16, '\0');
    auto *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t done = 0;
    while (inLeft > 0) {
        char *to = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t result = iconv(open, &in, &inLeft, &to, &outLeft);
        done = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno != E2BIG)
            return std::nullopt; // EILSEQ, or EINVAL for a sequence cut off at the end
        out.resize(out.size() * 2);
    }
    out.resize(done);
    return out;
}

} // namespace zanvo
