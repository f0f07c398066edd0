// The platform services of the window, over Qt and the runtime's wrappers.
#pragma once

#include "window/form/form1.h"

namespace zanvo {

class QtServices : public FormServices {
public:
    float secondsSinceMidnight() override;
    void clipboardClear() override;
    std::unique_ptr<ClipboardData> clipboardText(std::string utf8) override;
    void clipboardSetText(std::unique_ptr<ClipboardData> text) override;
    bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                      bool minimised) override;
    // Reads the skin through the shared checks and applies it to the whole application as a Qt
    // style sheet; on any status but SkinAttached the look is left as it was.
    int SkinH_AttachEx(std::string_view path, std::string_view password) override;
    std::string applicationFolder() override;
};

} // namespace zanvo
