// A job's worker thread, whose end reaches the UI thread only while the job still stands.
#include "window/form/job.h"

namespace zanvo {

BackgroundJob::BackgroundJob(UiThread &ui, std::function<void()> work,
                             std::function<void(std::exception_ptr)> done)
    : m_done(std::move(done)), m_alive(std::make_shared<bool>(true))
{
    m_worker
        = std::thread([this, &ui, work = std::move(work), alive = std::weak_ptr<bool>(m_alive)] {
              std::exception_ptr error;
              try {
                  work();
              } catch (...) {
                  error = std::current_exception();
              }
              // The job is destroyed on the UI thread only, so a live token there stays live while
              // the task runs.
              ui.post([this, alive, error] {
                  if (!alive.lock())
                      return;
                  m_worker.join();
                  // done may well destroy this job.
                  auto finished = std::move(m_done);
                  finished(error);
              });
          });
}

BackgroundJob::~BackgroundJob()
{
    m_alive.reset();
    if (m_worker.joinable())
        m_worker.join();
}

} // namespace zanvo
