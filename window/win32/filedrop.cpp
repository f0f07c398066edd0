// The box's drop target, and the names of dropped files.
#include "window/win32/filedrop.h"

#include "runtime/utf16.h"

#include <Scintilla.h>
#include <atomic>
#include <cstring>
#include <ole2.h>
#include <shellapi.h>

namespace zanvo {

void acceptDroppedFiles(HWND window)
{
    DragAcceptFiles(window, TRUE);
    // Run as administrator, the window would otherwise never get Explorer's drop: Windows keeps
    // a less privileged program's messages from it, and a drop is three of them (0x0049 is
    // WM_COPYGLOBALDATA, which carries the names and has no name in the headers).
    for (const UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), UINT(0x0049)})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

std::vector<std::string> droppedFiles(HDROP drop)
{
    std::vector<std::string> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
        names.push_back(utf8(name));
    }
    DragFinish(drop);
    return names;
}

namespace {

FORMATETC filesFormat()
{
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool holdsFiles(IDataObject *data)
{
    FORMATETC format = filesFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

// Hands the dropped files to the window as WM_DROPFILES, in a copy of their own: the data
// object's memory is the drag source's to free. Posted, so that a message box opens once the
// drag has ended, not while Explorer waits for it.
void postFiles(HWND box, IDataObject *data)
{
    FORMATETC format = filesFormat();
    STGMEDIUM medium {};
    if (data->GetData(&format, &medium) != S_OK)
        return;
    const SIZE_T size = GlobalSize(medium.hGlobal);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    const void *from = GlobalLock(medium.hGlobal);
    void *to = copy ? GlobalLock(copy) : nullptr;
    if (from && to)
        std::memcpy(to, from, size);
    if (to)
        GlobalUnlock(copy);
    if (from)
        GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    if (!from || !to
        || !PostMessageW(GetParent(box), WM_DROPFILES, reinterpret_cast<WPARAM>(copy), 0))
        GlobalFree(copy);
}

// A COM object goes by Release, never by a delete through its interface, which therefore has no
// virtual destructor.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class BoxDropTarget final : public IDropTarget {
public:
    BoxDropTarget(HWND box, IDropTarget *scintilla) : m_box(box), m_scintilla(scintilla)
    {
        m_scintilla->AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (id == IID_IUnknown || id == IID_IDropTarget) {
            *object = static_cast<IDropTarget *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *data, DWORD keys, POINTL at,
                                        DWORD *effect) override
    {
        m_files = holdsFiles(data);
        if (!m_files)
            return m_scintilla->DragEnter(data, keys, at, effect);
        *effect = filesEffect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD *effect) override
    {
        if (!m_files)
            return m_scintilla->DragOver(keys, at, effect);
        *effect = filesEffect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        return m_files ? S_OK : m_scintilla->DragLeave();
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *data, DWORD keys, POINTL at, DWORD *effect) override
    {
        if (!m_files)
            return m_scintilla->Drop(data, keys, at, effect);
        *effect = filesEffect(*effect);
        if (*effect != DROPEFFECT_NONE)
            postFiles(m_box, data);
        return S_OK;
    }

private:
    // A copy, where the drag offers one; none while the box is busy (a Start, a paste, a file
    // read) and takes no edit, so that the drag shows it cannot drop rather than seem to.
    DWORD filesEffect(DWORD offered) const
    {
        return SendMessageW(m_box, SCI_GETREADONLY, 0, 0) ? DROPEFFECT_NONE
                                                          : offered & DROPEFFECT_COPY;
    }

    ~BoxDropTarget() { m_scintilla->Release(); }

    std::atomic<ULONG> m_references {1};
    HWND m_box;
    IDropTarget *m_scintilla;
    bool m_files = false;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace

IDropTarget *newBoxDropTarget(HWND box, IDropTarget *scintilla)
{
    return new BoxDropTarget(box, scintilla);
}

} // namespace zanvo

extern "C" HRESULT WINAPI zanvoRegisterDragDrop(HWND window, IDropTarget *scintilla)
{
    IDropTarget *target = zanvo::newBoxDropTarget(window, scintilla);
    const HRESULT result = RegisterDragDrop(window, target);
    target->Release();
    return result;
}

// Scintilla's call goes through the import table, as a call into ole32 does; this is its entry.
extern "C" {
extern void *const __imp_zanvoRegisterDragDrop;
void *const __imp_zanvoRegisterDragDrop = reinterpret_cast<void *>(&zanvoRegisterDragDrop);
}
