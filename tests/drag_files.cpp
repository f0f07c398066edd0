// Drags files as Explorer does: an OLE drag of the data object their folder makes, dropped where
// the pointer rests. The test moves the pointer, as a person moves the mouse; the drag drops once
// the pointer has rested on the point given, in screen pixels, for a moment. Exits 0 on a drop the
// target took, 1 on one it refused, 2 where the pointer never came, 3 where the files cannot be
// found. Usage: drag_files X Y FILE...
#include "shellfiles.h"

#include <cstdlib>
#include <ole2.h>
#include <windows.h>

namespace {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

// Lives on main's stack for the one drag: references are counted for COM's sake only.
class Hand final : public IDropSource {
public:
    explicit Hand(POINT target) : m_target(target) { }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IDropSource ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        POINT at;
        GetCursorPos(&at);
        const bool there = std::abs(at.x - m_target.x) <= 2 && std::abs(at.y - m_target.y) <= 2;
        m_resting = there ? m_resting + 1 : 0;
        if (m_resting >= 10)
            return DRAGDROP_S_DROP;
        if (GetTickCount() - m_start > 30000) {
            m_timedOut = true;
            return DRAGDROP_S_CANCEL;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
    bool timedOut() const { return m_timedOut; }

private:
    POINT m_target;
    int m_resting = 0;
    DWORD m_start = GetTickCount();
    bool m_timedOut = false;
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 3;
    OleInitialize(nullptr);
    IDataObject *files = shellDataObject(std::vector<std::wstring>(argv + 3, argv + argc));
    if (!files)
        return 3;
    Hand hand({std::wcstol(argv[1], nullptr, 10), std::wcstol(argv[2], nullptr, 10)});
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(files, &hand, DROPEFFECT_COPY, &effect);
    files->Release();
    OleUninitialize();
    if (hand.timedOut())
        return 2;
    return result == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY ? 0 : 1;
}
