// Filling content on a worker thread.
#include "window/filljob.h"

namespace zanvo {

FillJob::FillJob(std::unique_ptr<TextBox::Content> content,
                 std::function<void(TextBox::Content &)> fill, QObject *parent)
    : QObject(parent)
{
    m_result.content = std::move(content);
    m_worker = std::thread([this, fill = std::move(fill)] {
        try {
            fill(*m_result.content);
            m_result.content->finish();
        } catch (...) {
            m_result.error = std::current_exception();
        }
        QMetaObject::invokeMethod(this, &FillJob::finished, Qt::QueuedConnection);
    });
}

FillJob::~FillJob()
{
    if (m_worker.joinable())
        m_worker.join();
}

FillJob::Result FillJob::take()
{
    if (m_worker.joinable())
        m_worker.join();
    return std::move(m_result);
}

QString withLineBreak(std::string_view text, QStringView lineBreak)
{
    const auto toQString = [](std::string_view bytes) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    if (lineBreak == u"\r\n")
        return toQString(text);
    const QByteArray wanted = lineBreak.toUtf8();
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != text.npos; from = at + 2) {
        out.append(text, from, at - from);
        out.append(wanted.constData(), static_cast<std::size_t>(wanted.size()));
    }
    out.append(text, from);
    return toQString(out);
}

} // namespace zanvo
