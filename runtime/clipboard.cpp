// The clipboard over QClipboard.
#include "runtime/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace zanvo {

void clipboardClear()
{
    QGuiApplication::clipboard()->clear();
}

void clipboardSetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace zanvo
