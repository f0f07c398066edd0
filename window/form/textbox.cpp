// What every text box shares.
#include "window/form/textbox.h"

namespace zanvo {

void TextBox::replace(std::string_view utf8)
{
    auto content = newContent();
    content->add(utf8.data(), utf8.size());
    content->finish();
    show(std::move(content), 0);
}

} // namespace zanvo
