// Starting another program without waiting for it.
#pragma once

#include <QString>
#include <QStringList>

namespace zanvo {

// Starts program with arguments, detached, minimised with the focus where asked and where the
// platform has such a start (Windows). Returns whether the program could be started; never
// waits for it.
bool Shell(const QString &program, const QStringList &arguments, bool minimised);

} // namespace zanvo
