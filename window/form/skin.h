// The skin file's checks: what may be handed to a host's style engine, and what never is. Only
// regular files are read, the skin and what its url()s name alike, so that no pipe or device can
// hold start-up up; a real skin is a few kilobytes of UTF-8.
#pragma once

#include <string>
#include <string_view>

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

inline constexpr std::size_t maxSkinBytes = 1 << 20;

struct Skin {
    SkinStatus status;
    std::string sheet; // the style sheet, UTF-8, where status is SkinAttached
};

// Reads and checks the skin file at path (UTF-8).
Skin readSkin(std::string_view path);

} // namespace zanvo
