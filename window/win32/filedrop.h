// Files dropped on the window. Two ways bring them: WM_DROPFILES, which Windows sends to a window
// that accepts files and has no drop target of its own (anywhere on the window but the box), and
// the box's drop target. Scintilla's own target takes text only, so the box's is wrapped: a drag
// that holds files is taken for the window, which it reaches as WM_DROPFILES too, and every
// other drag still goes to Scintilla.
#pragma once

#include <ole2.h>
#include <string>
#include <vector>
#include <windows.h>

namespace zanvo {

// Has window take files dropped from Explorer as WM_DROPFILES, also while it runs with more
// privileges than Explorer.
void acceptDroppedFiles(HWND window);

// The names a WM_DROPFILES carries, in UTF-8, in their order; the drop is finished.
std::vector<std::string> droppedFiles(HDROP drop);

// The box's drop target, around Scintilla's own: files while the box is not busy, everything
// else to Scintilla. Registered in Scintilla's stead; its one reference is the caller's.
IDropTarget *newBoxDropTarget(HWND box, IDropTarget *scintilla);

} // namespace zanvo

// Scintilla's call to register its drop target is compiled to come here (see CMakeLists.txt),
// which registers the wrapper in its place.
extern "C" HRESULT WINAPI zanvoRegisterDragDrop(HWND window, IDropTarget *scintilla);
