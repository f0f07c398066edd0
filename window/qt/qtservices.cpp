// The window's platform services over Qt.
#include "window/qt/qtservices.h"

#include <QCoreApplication>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zanvo {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

float QtServices::secondsSinceMidnight()
{
    return zanvo::secondsSinceMidnight();
}

bool QtServices::processStart(std::string_view program, const std::vector<std::string> &arguments,
                              bool minimised)
{
    QProcess process;
    process.setProgram(fromUtf8(program));
    QStringList list;
    for (const std::string &argument : arguments)
        list << fromUtf8(argument);
    process.setArguments(list);
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

std::string QtServices::applicationFolder()
{
    return nativeFolder(thisPlatform(), QCoreApplication::applicationDirPath().toStdString());
}

} // namespace zanvo
