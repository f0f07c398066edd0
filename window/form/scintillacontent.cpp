// The box's new texts.
#include "window/form/scintillacontent.h"

#include "runtime/largealloc.h"
#include "window/form/scintilla.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace zanvo {

namespace {

class LoadedContent : public ScintillaContent {
public:
    using ScintillaContent::ScintillaContent;
    ~LoadedContent() override
    {
        if (m_loader)
            m_loader->Release();
        if (m_document)
            m_calls.send(sci::RELEASEDOCUMENT, 0, reinterpret_cast<std::intptr_t>(m_document));
    }

    // The document is made here, on the worker, with room for the whole text where its size is
    // known: Scintilla fills that room with zeros at once, which on the UI thread would hold the
    // window still, and without it grows its buffer again and again. Making a loader touches
    // nothing of the view: the document is Scintilla's own until a view is given it.
    void reserve(std::size_t bytes) override
    {
        if (m_loader)
            return;
        const LargeBlocksHere large;
        // Room to spare too: Scintilla copies the whole buffer into a larger one when a piece
        // would fill it, when the text is read as one string (which needs a byte more) and when
        // a key is typed into a full one.
        constexpr std::size_t spare = 64 * 1024;
        m_loader = reinterpret_cast<ILoader *>(m_calls.send(
            sci::CREATELOADER, bytes ? bytes + spare : 0, ScintillaBox::documentOptions(bytes)));
        if (!m_loader)
            throw std::bad_alloc();
    }
    void add(const char *utf8, std::size_t size) override
    {
        reserve(0);
        // Scintilla's line index grows as the text comes.
        const LargeBlocksHere large;
        // Fed in slices, so that no single call holds on for long and a failure shows early.
        constexpr std::size_t slice = 16 << 20;
        for (std::size_t at = 0; at < size; at += slice) {
            const std::size_t n = std::min(slice, size - at);
            if (m_loader->AddData(utf8 + at, static_cast<std::ptrdiff_t>(n)) != sci::STATUS_OK)
                throw std::bad_alloc();
        }
    }
    void finish() override
    {
        reserve(0);
        m_document = m_loader->ConvertToDocument();
        m_loader = nullptr;
    }
    ScintillaBox::Document take() override { return std::exchange(m_document, nullptr); }

private:
    ILoader *m_loader = nullptr;
    ScintillaBox::Document m_document = nullptr;
};

class HeldContent : public ScintillaContent {
public:
    using ScintillaContent::ScintillaContent;

    void reserve(std::size_t bytes) override { m_text.reserve(bytes); }
    void add(const char *utf8, std::size_t size) override { m_text.append(utf8, size); }
    void finish() override { }
    ScintillaBox::Document take() override
    {
        return reinterpret_cast<ScintillaBox::Document>(
            m_calls.send(sci::CREATEDOCUMENT, 0, ScintillaBox::documentOptions(m_text.size())));
    }
    std::string_view pending() const override { return m_text; }

private:
    std::string m_text;
};

} // namespace

std::unique_ptr<ScintillaContent> ScintillaContent::make(ScintillaCalls &calls, bool loadsOffThread)
{
    if (!loadsOffThread)
        return std::make_unique<HeldContent>(calls);
    return std::make_unique<LoadedContent>(calls);
}

} // namespace zanvo
