// The clipboard over QClipboard: text kept as UTF-8, its line breaks the platform's own.
#pragma once

#include "window/form/clipboard.h"

namespace zanvo {

class QtClipboard : public Clipboard {
public:
    std::unique_ptr<Content> newContent() override;
    ClipboardPut put(std::unique_ptr<Content> content) override;
    std::optional<ClipboardText> text() override;
};

} // namespace zanvo
