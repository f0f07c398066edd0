// Process start over QProcess.
#include "runtime/processstart.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zanvo {

bool Shell(const QString &program, const QStringList &arguments, bool minimised)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
#ifdef Q_OS_WIN
    if (minimised) {
        process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
            args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
        });
    }
#else
    Q_UNUSED(minimised);
#endif
    return process.startDetached();
}

} // namespace zanvo
