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

} // namespace zanvo
