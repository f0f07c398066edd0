// The box's text as the Qt tests compare it.
#pragma once

#include "window/form/textbox.h"

#include <QString>

namespace zanvo::test {

inline QString text(TextBox &box)
{
    const std::string_view bytes = box.text();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace zanvo::test
