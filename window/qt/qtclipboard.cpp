// The clipboard over QClipboard.
#include "window/qt/qtclipboard.h"

#include "runtime/largealloc.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zanvo {

namespace {

const QString plainText = QStringLiteral("text/plain");

// The text as the UTF-8 it was made in, offered as plain text as QMimeData::setText offers it.
// Qt asks for it in the form each reader wants when that reader asks: X11's readers take the
// UTF-8 as it is, and a copy that no one pastes is never converted to UTF-16.
class Utf8Text : public QMimeData {
public:
    explicit Utf8Text(QByteArray utf8) : m_utf8(std::move(utf8)) { }
    QStringList formats() const override { return {plainText}; }
    const QByteArray &utf8() const { return m_utf8; }

protected:
    QVariant retrieveData(const QString &format, QMetaType) const override
    {
        return format == plainText ? QVariant(m_utf8) : QVariant();
    }

private:
    QByteArray m_utf8;
};

class QtContent : public Clipboard::Content {
public:
    void reserve(std::size_t bytes) override
    {
        m_utf8.reserve(m_utf8.size() + static_cast<qsizetype>(bytes));
        preferLargePages(m_utf8.data() + m_utf8.size(),
                         static_cast<std::size_t>(m_utf8.capacity() - m_utf8.size()));
    }
    void add(std::string_view utf8) override
    {
        m_utf8.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
    void finish() override { }
    QByteArray take() { return std::move(m_utf8); }

private:
    QByteArray m_utf8;
};

} // namespace

std::unique_ptr<Clipboard::Content> QtClipboard::newContent()
{
    return std::make_unique<QtContent>();
}

ClipboardPut QtClipboard::put(std::unique_ptr<Content> content)
{
    // Qt's clipboard owns what it is given on the UI thread, and takes it whole there.
    QGuiApplication::clipboard()->setMimeData(
        new Utf8Text(static_cast<QtContent &>(*content).take()));
    return ClipboardPut::Done;
}

std::optional<ClipboardText> QtClipboard::text()
{
    const QMimeData *source = QGuiApplication::clipboard()->mimeData();
    if (!source || !source->hasText())
        return std::nullopt;
    // This program's own copy is pasted as it was made, without a conversion either way.
    if (const auto *own = dynamic_cast<const Utf8Text *>(source)) {
        const QByteArray utf8 = own->utf8();
        return ClipboardText {static_cast<std::size_t>(utf8.size()), [utf8] {
                                  return std::string(utf8.constData(),
                                                     static_cast<std::size_t>(utf8.size()));
                              }};
    }
    // Another program's comes as UTF-16, and goes back to UTF-8 on the thread that reads it.
    const QString text = source->text();
    return ClipboardText {static_cast<std::size_t>(text.size()), [text] {
                              const QByteArray utf8 = text.toUtf8();
                              return std::string(utf8.constData(),
                                                 static_cast<std::size_t>(utf8.size()));
                          }};
}

} // namespace zanvo
