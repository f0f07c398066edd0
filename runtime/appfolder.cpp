// The application folder over QCoreApplication.
#include "runtime/appfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace zanvo {

QString appPath()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace zanvo
