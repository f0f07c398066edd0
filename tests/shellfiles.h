// Files as Explorer hands them to a drag: the data object that their folder makes for them, which
// holds CF_HDROP among its formats.
#pragma once

#include <shlobj.h>
#include <string>
#include <vector>

// The data object for files named in full, all in one folder; null where one cannot be made.
inline IDataObject *shellDataObject(const std::vector<std::wstring> &files)
{
    std::vector<PIDLIST_ABSOLUTE> items;
    std::vector<PCUITEMID_CHILD> children;
    IShellFolder *folder = nullptr;
    bool found = true;
    for (const std::wstring &file : files) {
        PIDLIST_ABSOLUTE item = nullptr;
        PCUITEMID_CHILD child = nullptr;
        if (folder)
            folder->Release();
        folder = nullptr;
        found = found && SUCCEEDED(SHParseDisplayName(file.c_str(), nullptr, &item, 0, nullptr))
            && SUCCEEDED(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void **>(&folder),
                                        &child));
        items.push_back(item);
        children.push_back(child);
    }
    IDataObject *data = nullptr;
    if (found && folder)
        folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                              IID_IDataObject, nullptr, reinterpret_cast<void **>(&data));
    if (folder)
        folder->Release();
    for (PIDLIST_ABSOLUTE item : items)
        CoTaskMemFree(item);
    return data;
}
