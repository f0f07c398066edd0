// The platform services of the window, over Qt and the runtime's wrappers.
#pragma once

#include "window/form/form1.h"
#include "window/qt/qtclipboard.h"

namespace zanvo {

class QtServices : public FormServices {
public:
    float secondsSinceMidnight() override;
    Clipboard &clipboard() override { return m_clipboard; }
    bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                      bool minimised) override;
    std::string applicationFolder() override;

private:
    QtClipboard m_clipboard;
};

} // namespace zanvo
