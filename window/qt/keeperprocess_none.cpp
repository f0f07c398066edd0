// The clipboard keeper where the window has no X11 to ask: the clipboard is left to Qt, which never
// leaves a keeper running beside a clipboard manager.
#include "window/qt/keeperprocess.h"

namespace zanvo {

bool clipboardManagerRuns()
{
    return true;
}

bool startKeeper(const QByteArray &, int)
{
    return false;
}

bool inputIsPipe()
{
    return false;
}

} // namespace zanvo
