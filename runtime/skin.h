// The skin layer: styles the whole program from a skin file, a Qt style sheet in UTF-8.
#pragma once

#include <QString>

namespace zanvo {

enum SkinStatus : int {
    SkinAttached = 0,
    SkinUnreadable
    = 1, // missing, not a regular file (a folder, a pipe, a device), or no permission
    SkinEmpty = 2,
    SkinNotText = 3, // not UTF-8, or holds NUL characters
    SkinTooLarge = 4,
    SkinBadReference = 5, // a url() names something that is there but is no regular file
};

// Applies the skin file at path to the running application. Only regular files are read, the skin
// and what its url()s name alike, so that no pipe or device can hold start-up up. The second
// argument is reserved for a skin password and must be empty. On any status but SkinAttached the
// look is left as it was, so a bad skin never stops the program.
int SkinH_AttachEx(const QString &path, const QString &password);

} // namespace zanvo
