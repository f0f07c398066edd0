// GB18030 through the system's converter.
#include "runtime/gb18030.h"

#if defined(_WIN32)
#include "runtime/utf16.h"

#include <climits>
#include <new>
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <system_error>
#endif

namespace zanvo {

#if defined(_WIN32)

namespace {
constexpr UINT gb18030 = 54936;
constexpr UINT gbk = 936;
} // namespace

bool readsAllOfGb18030()
{
    return IsValidCodePage(gb18030) != 0;
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes)
{
    const UINT codePage = readsAllOfGb18030() ? gb18030 : gbk;
    if (bytes.empty())
        return std::string();
    if (bytes.size() > INT_MAX)
        throw std::bad_alloc();
    const int size = static_cast<int>(bytes.size());
    const int length
        = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length == 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    return utf8(text);
}

#else

bool readsAllOfGb18030()
{
    return true;
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes)
{
    const iconv_t open = iconv_open("UTF-8", "GB18030");
    if (open == reinterpret_cast<iconv_t>(-1))
        throw std::system_error(errno, std::generic_category(), "iconv_open GB18030");
    const std::unique_ptr<void, int (*)(iconv_t)> converter(open, iconv_close);
    // A character takes at most half as many bytes again in UTF-8 (two bytes become three, four
    // stay four); more room is made should a converter see it otherwise.
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

#endif

} // namespace zanvo
