// The system clipboard, plain text only.
#pragma once

#include <QString>

namespace zanvo {

void clipboardClear();
void clipboardSetText(const QString &text);

} // namespace zanvo
