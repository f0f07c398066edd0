// What a screen reader says of a control, where Windows' own guess would mislead: the box has no
// label, so Windows would read it as an unnamed pane, and a label that opens the home page is a
// link to follow, not text.
#pragma once

#include <string_view>
#include <windows.h>

namespace zanvo {

// Gives control a name, where name is not empty, and a role (ROLE_SYSTEM_...), through the
// system's annotation service, which takes COM on this thread. Where the service is missing (a
// Windows without it, Wine) the control keeps Windows' own name and role.
void describeForScreenReaders(HWND control, std::wstring_view name, long role);

} // namespace zanvo
