// The clipboard over QClipboard.
#include "window/qt/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zanvo {

namespace {

class QtContent : public Clipboard::Content {
public:
    // UTF-16 takes fewer units than UTF-8 takes bytes, and for Chinese a third: the room that
    // growing makes is nearer the mark than a guess.
    void reserve(std::size_t) override { }
    void add(std::string_view utf8) override
    {
        m_text.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    }
    void finish() override { }
    QString &text() { return m_text; }

private:
    QString m_text;
};

} // namespace

std::unique_ptr<Clipboard::Content> QtClipboard::newContent()
{
    return std::make_unique<QtContent>();
}

ClipboardPut QtClipboard::put(std::unique_ptr<Content> content)
{
    // Qt's clipboard owns what it is given on the UI thread, and takes it whole there.
    QGuiApplication::clipboard()->setText(std::move(static_cast<QtContent &>(*content).text()));
    return ClipboardPut::Done;
}

std::optional<ClipboardText> QtClipboard::text()
{
    const QMimeData *source = QGuiApplication::clipboard()->mimeData();
    if (!source || !source->hasText())
        return std::nullopt;
    const QString text = source->text();
    return ClipboardText {static_cast<std::size_t>(text.size()), [text] {
                              const QByteArray utf8 = text.toUtf8();
                              return std::string(utf8.constData(),
                                                 static_cast<std::size_t>(utf8.size()));
                          }};
}

} // namespace zanvo
