// The clipboard over Win32.
#include "window/win32/win32clipboard.h"

#include "runtime/runtimeerror.h"
#include "runtime/utf16.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace zanvo {

namespace {

bool openClipboard(HWND owner)
{
    const ULONGLONG until = GetTickCount64() + 2000;
    while (!OpenClipboard(owner)) {
        if (GetTickCount64() >= until)
            return false;
        Sleep(25);
    }
    return true;
}

// The text in a block of movable memory, as the clipboard takes it, grown as it is filled.
class Win32Content : public Clipboard::Content {
public:
    ~Win32Content() override
    {
        if (m_memory) {
            if (m_units)
                GlobalUnlock(m_memory);
            GlobalFree(m_memory);
        }
    }

    // A UTF-8 text takes no more UTF-16 units than it has bytes.
    void reserve(std::size_t bytes) override { makeRoom(m_length + bytes + 1); }
    void add(std::string_view utf8) override
    {
        makeRoom(m_length + utf8.size() + 1);
        m_length += wideInto(utf8, m_units + m_length);
    }
    void finish() override
    {
        makeRoom(m_length + 1);
        m_units[m_length] = L'\0';
        GlobalUnlock(m_memory);
        m_units = nullptr;
        // Gives back what was reserved and not used; shrinking keeps the block in place.
        if (HGLOBAL fitted = GlobalReAlloc(m_memory, (m_length + 1) * sizeof(wchar_t), 0))
            m_memory = fitted;
    }
    // The filled block, now the caller's.
    HGLOBAL take() { return std::exchange(m_memory, nullptr); }

private:
    void makeRoom(std::size_t units)
    {
        if (units <= m_capacity)
            return;
        const std::size_t capacity = std::max(units, m_capacity * 2);
        if (m_memory)
            GlobalUnlock(m_memory);
        HGLOBAL memory = m_memory
            ? GlobalReAlloc(m_memory, capacity * sizeof(wchar_t), GMEM_MOVEABLE)
            : GlobalAlloc(GMEM_MOVEABLE, capacity * sizeof(wchar_t));
        if (memory)
            m_memory = memory;
        m_units = m_memory ? static_cast<wchar_t *>(GlobalLock(m_memory)) : nullptr;
        if (!memory || !m_units)
            throw RuntimeError::outOfMemory();
        m_capacity = capacity;
    }

    HGLOBAL m_memory = nullptr;
    wchar_t *m_units = nullptr;
    std::size_t m_length = 0;
    std::size_t m_capacity = 0;
};

} // namespace

std::unique_ptr<Clipboard::Content> Win32Clipboard::newContent()
{
    return std::make_unique<Win32Content>();
}

ClipboardPut Win32Clipboard::put(std::unique_ptr<Content> content)
{
    HGLOBAL text = static_cast<Win32Content &>(*content).take();
    HGLOBAL locale = GlobalAlloc(GMEM_MOVEABLE, sizeof(LCID));
    if (auto *value = locale ? static_cast<LCID *>(GlobalLock(locale)) : nullptr) {
        *value = GetSystemDefaultLCID();
        GlobalUnlock(locale);
    }
    if (!openClipboard(m_owner)) {
        GlobalFree(text);
        if (locale)
            GlobalFree(locale);
        return ClipboardPut::Held;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_UNICODETEXT, text) != nullptr;
    if (!set)
        GlobalFree(text);
    if (locale && !(set && SetClipboardData(CF_LOCALE, locale)))
        GlobalFree(locale);
    CloseClipboard();
    return set ? ClipboardPut::Done : ClipboardPut::Emptied;
}

std::optional<ClipboardText> Win32Clipboard::text()
{
    if (!openClipboard(nullptr))
        return std::nullopt;
    std::wstring text;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *units = static_cast<const wchar_t *>(GlobalLock(data))) {
            // The clipboard's memory may be larger than its text, which ends at the first NUL.
            text.assign(units, wcsnlen(units, GlobalSize(data) / sizeof(wchar_t)));
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!found)
        return std::nullopt;
    const std::size_t length = text.size();
    return ClipboardText {length, [text = std::move(text)] { return utf8(text); }};
}

} // namespace zanvo
