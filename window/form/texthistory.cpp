// The whole texts of undo and redo.
#include "window/form/texthistory.h"

#include "window/form/scintilla.h"
#include "window/form/scintillabox.h"

#include <cstdint>

namespace zanvo {

TextHistory::~TextHistory()
{
    for (auto *kept : {&m_back, &m_forward})
        for (const Kept &text : *kept)
            release(text.document);
}

void TextHistory::release(Document document)
{
    m_calls.send(sci::RELEASEDOCUMENT, 0, reinterpret_cast<std::intptr_t>(document));
}

void TextHistory::keepAfterStep(Kept text)
{
    dropForward();
    m_back.push_back(text);
    std::size_t total = 0;
    for (const Kept &kept : m_back)
        total += kept.bytes;
    while (m_back.size() > 1 && total > m_budget) {
        total -= m_back.front().bytes;
        release(m_back.front().document);
        m_back.pop_front();
    }
}

std::optional<TextHistory::Document> TextHistory::take(std::deque<Kept> &way)
{
    if (way.empty())
        return std::nullopt;
    const Document document = way.back().document;
    way.pop_back();
    return document;
}

void TextHistory::dropForward()
{
    for (const Kept &text : m_forward)
        release(text.document);
    m_forward.clear();
}

} // namespace zanvo
