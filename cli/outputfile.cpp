// The output's policy: what is replaced, what is rewritten in place, and what is left as it was
// when a step fails.
#include "cli/outputfile.h"

#include "cli/error.h"
#include "cli/quote.h"

#include <cstdio>
#include <random>

namespace zanvo::cli {

namespace {

[[noreturn]] void fail(const std::string &what, std::error_code error)
{
    throw Error(what + ": " + describe(error));
}

void check(const std::string &what, std::error_code error)
{
    if (error)
        fail(what, error);
}

// Calls make with fresh names until one is not taken. The names are short whatever the target's
// name, which may already be as long as a name can be.
template<class Make> std::error_code underFreshName(Make make)
{
    static std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char leaf[32];
        std::snprintf(leaf, sizeof leaf, ".zanvo-scramble-%08x", device());
        const std::error_code error = make(std::string(leaf));
        if (error != std::errc::file_exists)
            return error;
    }
    return std::make_error_code(std::errc::file_exists);
}

} // namespace

OutputFile::OutputFile(const std::optional<std::string> &path)
{
    if (!path) {
        m_shown = "standard output";
        m_file.useStandardOutput();
        return;
    }
    m_shown = quoteName(*path);
    const std::string opening = "cannot open " + m_shown + " for writing";
    check(opening, m_file.resolve(*path));
    Found found;
    check(opening, m_file.find(found));
    switch (found) {
    case Found::Nothing:
        m_method = Method::Replace;
        check(opening, createReplacement());
        if (const std::error_code error = m_file.adoptIdentity()) {
            m_file.dropReplacement();
            fail(opening, error);
        }
        return;
    case Found::Folder:
        fail(opening, std::make_error_code(std::errc::is_a_directory));
    case Found::OwnOutput:
        // Through the descriptor itself, so that it goes where the shell said (appended, for
        // >>log), and a file there is never replaced.
        m_file.useStandardOutput();
        return;
    case Found::Stream:
        // A device or a pipe can only be written to, never replaced: /dev/null stays a device.
        check(opening, m_file.openExisting());
        return;
    case Found::Regular:
    case Found::LinkedRegular:
        break;
    }
    // A file its owner protected from writing is not replaced behind the protection.
    check(opening, m_file.mayWrite());
    if (found == Found::Regular && !createReplacement()) {
        if (!m_file.adoptIdentity()) {
            m_method = Method::Replace;
            m_replacesExisting = true;
            return;
        }
        m_file.dropReplacement();
    }
    m_method = Method::InPlace;
    check(opening, m_file.openExisting());
}

std::error_code OutputFile::createReplacement()
{
    const std::error_code error = m_file.createUnnamed();
    if (error != std::errc::operation_not_supported)
        return error;
    return underFreshName([this](const std::string &leaf) { return m_file.createNamed(leaf); });
}

void OutputFile::reserve(std::uint64_t bytes)
{
    if (bytes == 0)
        return;
    const std::string reserving = "cannot reserve space for " + m_shown;
    if (m_replacesExisting) {
        const std::error_code error = m_file.reserve(bytes);
        if (!isDiskFull(error)) {
            check(reserving, error);
            return;
        }
        m_file.dropReplacement();
        m_replacesExisting = false;
        m_method = Method::InPlace;
        check("cannot open " + m_shown + " for writing", m_file.openExisting());
    }
    if (m_method == Method::InPlace)
        check(reserving, m_file.reserve(bytes));
}

void OutputFile::write(const char *bytes, std::size_t size)
{
    if (m_method == Method::InPlace)
        m_file.holdEndingSignals();
    check("error writing " + m_shown, m_file.write(bytes, size));
    m_size += size;
}

void OutputFile::commit()
{
    const std::string writing = "error writing " + m_shown;
    if (m_method == Method::InPlace) {
        m_file.holdEndingSignals();
        check(writing, m_file.truncate(m_size));
    }
    std::error_code error;
    if (m_method == Method::Replace && m_file.unnamed())
        error
            = underFreshName([this](const std::string &leaf) { return m_file.nameUnnamed(leaf); });
    if (error) {
        m_file.dropReplacement();
        fail("cannot replace " + m_shown, error);
    }
    if ((error = m_file.close())) {
        if (m_method == Method::Replace)
            m_file.dropReplacement();
        fail(writing, error);
    }
    if (m_method == Method::Replace && (error = m_file.putInPlace())) {
        m_file.dropReplacement();
        std::string what = "cannot replace " + m_shown;
        if (const auto kept = m_file.kept())
            what += " (the result is in " + quoteName(kept->result) + " and its old text in "
                + quoteName(kept->old) + ", beside it)";
        fail(what, error);
    }
}

} // namespace zanvo::cli
