// The whole texts that undo and redo step through beyond Scintilla's own history: the box's text
// before each Start, removal, dropped file or large paste, each a Scintilla document that the
// history holds a reference to, within a budget of bytes.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

namespace zanvo {

class ScintillaCalls;

class TextHistory {
public:
    using Document = void *;
    struct Kept {
        Document document;
        std::size_t bytes;
    };

    // Documents are released through calls.
    TextHistory(ScintillaCalls &calls, std::size_t budget) : m_calls(calls), m_budget(budget) { }
    ~TextHistory();
    TextHistory(const TextHistory &) = delete;
    TextHistory &operator=(const TextHistory &) = delete;

    // Keeps text as the newest on the way back after a new step: the way forward ends, and the
    // oldest texts go while all add up to more than the budget, the newest always kept.
    void keepAfterStep(Kept text);
    // The newest text on the way back, or forward, taken out of the history; nothing where none
    // is left.
    std::optional<Document> takeBack() { return take(m_back); }
    std::optional<Document> takeForward() { return take(m_forward); }
    // Keeps text on the way back, or forward, after a step through the history.
    void keepBack(Kept text) { m_back.push_back(text); }
    void keepForward(Kept text) { m_forward.push_back(text); }
    // Ends the way forward: a new edit after an undo.
    void dropForward();

    bool canGoBack() const { return !m_back.empty(); }
    bool canGoForward() const { return !m_forward.empty(); }
    std::size_t size() const { return m_back.size() + m_forward.size(); }
    void setBudget(std::size_t bytes) { m_budget = bytes; }

private:
    static std::optional<Document> take(std::deque<Kept> &way);
    void release(Document document);

    ScintillaCalls &m_calls;
    std::deque<Kept> m_back;
    std::deque<Kept> m_forward;
    std::size_t m_budget;
};

} // namespace zanvo
