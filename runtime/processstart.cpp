// Process start over QProcess.
#include "runtime/processstart.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zanvo {

bool Shell(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    return process.startDetached();
}

QString urlOpener()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("explorer.exe");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}

} // namespace zanvo
