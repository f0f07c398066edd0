// GB18030 text, and so GBK and GB2312 text, which it holds, made UTF-8 by the system's own
// converter: iconv, or Windows' code page 54936.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zanvo {

// bytes' text as UTF-8, or nothing where bytes are not GB18030 throughout (a sequence that is
// no character, or one cut off at the end).
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);

// Whether the system reads all of GB18030. Windows has since Vista; where it does not (Wine),
// GBK stands in, which every Chinese Windows has: it reads what Notepad saves as ANSI, all but
// GB18030's four-byte sequences.
bool readsAllOfGb18030();

} // namespace zanvo
