// The UI thread as Qt reaches it: a task posted from any thread runs in the event loop.
#pragma once

#include "window/form/job.h"

#include <QObject>

namespace zanvo {

class QtUiThread : public UiThread {
public:
    // Tasks still queued when this goes are dropped.
    void post(std::function<void()> task) override
    {
        QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
    }

private:
    QObject m_context;
};

} // namespace zanvo
