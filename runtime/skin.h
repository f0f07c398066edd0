// The skin layer: styles the whole program from a skin file, a Qt style sheet in UTF-8.
#pragma once

#include <QString>

namespace zanvo {

enum SkinStatus : int {
    SkinAttached = 0,
    SkinUnreadable = 1, // missing, a folder, or no permission
    SkinEmpty = 2,
    SkinNotText = 3, // not UTF-8, or holds NUL characters
    SkinTooLarge = 4,
};

// Applies the skin file at path to the running application. The second argument is reserved
// for a skin password and must be empty. On any status but SkinAttached the look is left as it
// was, so a bad skin never stops the program.
int SkinH_AttachEx(const QString &path, const QString &password);

} // namespace zanvo
