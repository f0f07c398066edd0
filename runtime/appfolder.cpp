// The application folder over QCoreApplication.
#include "runtime/appfolder.h"

#include "runtime/platform.h"

#include <QCoreApplication>

namespace zanvo {

QString appPath()
{
    return applicationFolder(thisPlatform(), QCoreApplication::applicationDirPath());
}

} // namespace zanvo
