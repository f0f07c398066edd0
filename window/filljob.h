// A text box's new content filled on a worker thread, so that the window keeps answering while
// a large text is built: the Start command's result, a large paste.
#pragma once

#include "window/textbox.h"

#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace zanvo {

class FillJob : public QObject {
    Q_OBJECT
public:
    struct Result {
        std::unique_ptr<TextBox::Content> content;
        std::exception_ptr error; // a run-time error raised on the way, for the UI thread
    };

    // Runs fill(content) on a worker thread at once; finished() follows on this object's
    // thread. Whatever fill reads must stay as it is until then.
    FillJob(std::unique_ptr<TextBox::Content> content, std::function<void(TextBox::Content &)> fill,
            QObject *parent = nullptr);
    // Waits for the worker.
    ~FillJob() override;

    // The result, once finished() has come.
    Result take();

signals:
    void finished();

private:
    Result m_result;
    std::thread m_worker;
};

} // namespace zanvo
