// The clipboard keeper's platform half, X11's or none.
#pragma once

#include <QByteArray>

namespace zanvo {

// Whether a clipboard manager takes the clipboard over as the program ends.
bool clipboardManagerRuns();

// Starts the keeper in a session of its own and hands it text through a pipe; false where it
// could not be started or did not take the whole text within handOverMs.
bool startKeeper(const QByteArray &text, int handOverMs);

// Whether the keeper's standard input is a pipe, the only way its text may come.
bool inputIsPipe();

} // namespace zanvo
