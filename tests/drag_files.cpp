// Drags files as Explorer does: an OLE drag of a data object that holds their names (CF_HDROP),
// dropped where the pointer rests. The test moves the pointer, as a person moves the mouse; the
// drag drops once the pointer has rested on the point given, in screen pixels, for a moment.
// Exits 0 on a drop the target took, 1 on one it refused, 2 where the pointer never came.
// Usage: drag_files X Y FILE...
#include <cstdlib>
#include <cstring>
#include <ole2.h>
#include <shlobj.h>
#include <string>
#include <windows.h>

namespace {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

// Lives on main's stack for the one drag: references are counted for COM's sake only.
class Files final : public IDataObject {
public:
    explicit Files(std::wstring names) : m_names(std::move(names)) { }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IDataObject ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC *format, STGMEDIUM *medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        const std::size_t bytes = m_names.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
        auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, m_names.data(), bytes);
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC *format) override
    {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                               : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC *, FORMATETC *out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC **out) override
    {
        FORMATETC format {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA **) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::wstring m_names; // each ended by a NUL, the list by another
};

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
    std::wstring names;
    for (int i = 3; i < argc; ++i)
        names.append(argv[i]).push_back(L'\0');
    names.push_back(L'\0');
    OleInitialize(nullptr);
    Files files(std::move(names));
    Hand hand({std::wcstol(argv[1], nullptr, 10), std::wcstol(argv[2], nullptr, 10)});
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&files, &hand, DROPEFFECT_COPY, &effect);
    OleUninitialize();
    if (hand.timedOut())
        return 2;
    return result == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY ? 0 : 1;
}
