// A text cut at every occurrence of a separator, as the core's tests and its fuzzer read lines
// back: empty pieces kept, no piece at all for an empty text.
#pragma once

#include <vector>

namespace zanvo::test {

template<class String> std::vector<String> splitAll(const String &s, const String &sep)
{
    std::vector<String> out;
    if (s.empty())
        return out;
    std::size_t start = 0;
    for (std::size_t at = s.find(sep); at != String::npos; at = s.find(sep, start)) {
        out.push_back(s.substr(start, at - start));
        start = at + sep.size();
    }
    out.push_back(s.substr(start));
    return out;
}

} // namespace zanvo::test
