// What was copied stays pasteable after the program ends, as users know it from Windows. On X11
// the clipboard is served by the process that set it, so at exit the text goes to a clipboard
// manager where one runs (Qt does that as it shuts down), or else to a small copy of this program
// that keeps serving it until another program takes the clipboard.
#pragma once

#include <QString>

class QGuiApplication;

namespace zanvo {

// The first argument that starts the program as the clipboard keeper.
inline constexpr char clipboardKeeperArgument[] = "--keep-clipboard";

// Call once the event loop has ended. Returns when the keeper has taken the clipboard over, or
// after a short wait if it could not; does nothing where this process no longer owns the
// clipboard, where a manager runs, or off X11.
void keepClipboardAfterExit();

// The keeper's main: serves the UTF-8 text it reads from standard input, which must be a pipe,
// until another program takes the clipboard. The text never passes through a file, and no
// argument names one.
int runClipboardKeeper(QGuiApplication &app);

} // namespace zanvo
