// A new text for the box, made off the UI thread. A loaded one is a document that Scintilla's
// loader fills on the worker; a held one keeps the text for the UI thread to put into a fresh
// document, where Scintilla's pointers do not come back whole from the worker.
#pragma once

#include "window/form/scintillabox.h"

#include <memory>
#include <string_view>

namespace zanvo {

class ScintillaContent : public TextBox::Content {
public:
    // A loaded content where loadsOffThread, else a held one.
    static std::unique_ptr<ScintillaContent> make(ScintillaCalls &calls, bool loadsOffThread);
    explicit ScintillaContent(ScintillaCalls &calls) : m_calls(calls) { }

    // The document to show, with one reference that is now the caller's, and the text still to
    // put into it.
    virtual ScintillaBox::Document take() = 0;
    virtual std::string_view pending() const { return {}; }

protected:
    ScintillaCalls &m_calls;
};

} // namespace zanvo
