// The box's new texts.
#include "window/form/scintillacontent.h"

#include "window/form/scintilla.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace zanvo {

namespace {

class LoadedContent : public ScintillaContent {
public:
    LoadedContent(ScintillaCalls &calls, ILoader *loader)
        : ScintillaContent(calls), m_loader(loader)
    {
    }
    ~LoadedContent() override
    {
        if (m_loader)
            m_loader->Release();
        if (m_document)
            m_calls.send(sci::RELEASEDOCUMENT, 0, reinterpret_cast<std::intptr_t>(m_document));
    }

    void add(const char *utf8, std::size_t size) override
    {
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
        m_document = m_loader->ConvertToDocument();
        m_loader = nullptr;
    }
    ScintillaBox::Document take() override { return std::exchange(m_document, nullptr); }

private:
    ILoader *m_loader;
    ScintillaBox::Document m_document = nullptr;
};

class HeldContent : public ScintillaContent {
public:
    using ScintillaContent::ScintillaContent;

    void add(const char *utf8, std::size_t size) override { m_text.append(utf8, size); }
    void finish() override { }
    ScintillaBox::Document take() override
    {
        return reinterpret_cast<ScintillaBox::Document>(m_calls.send(sci::CREATEDOCUMENT));
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
    // No size hint: Scintilla fills a hinted buffer with zeros at once, here on the UI thread;
    // without one the buffer grows inside AddData, on the worker.
    auto *loader = reinterpret_cast<ILoader *>(calls.send(
        sci::CREATELOADER, 0, sci::DOCUMENTOPTION_STYLES_NONE | sci::DOCUMENTOPTION_TEXT_LARGE));
    if (!loader)
        throw std::bad_alloc();
    return std::make_unique<LoadedContent>(calls, loader);
}

} // namespace zanvo
