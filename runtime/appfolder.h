// The folder that holds the program file.
#pragma once

#include <QString>

namespace zanvo {

// Without a trailing separator, except where the folder is a root.
QString appPath();

} // namespace zanvo
