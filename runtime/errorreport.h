// Where run-time errors end: a handler runs guarded, and an error raised inside it is reported
// with its number and description; the exit status it returns is for the program to end with.
// Nothing crosses into the event loop.
#pragma once

#include "runtime/runtimeerror.h"

#include <QString>
#include <new>
#include <stdexcept>

class QWidget;

namespace zanvo {

// The exit status of a program ended by a run-time error.
inline constexpr int runtimeErrorStatus = 1;

// Shows the error in a message box and returns the status the program is to end with.
int reportRuntimeError(QWidget *parent, const QString &title, const RuntimeError &error);

// Runs handler; returns 0, or where it raised a run-time error, reports it and returns the status
// the program is to end with.
template<class Handler>
[[nodiscard]] int runGuarded(QWidget *parent, const QString &title, Handler &&handler) noexcept
{
    try {
        handler();
        return 0;
    } catch (const RuntimeError &error) {
        return reportRuntimeError(parent, title, error);
    } catch (const std::bad_alloc &) {
        return reportRuntimeError(parent, title, RuntimeError::outOfMemory());
    } catch (const std::length_error &) {
        // A text longer than a string can hold.
        return reportRuntimeError(parent, title, RuntimeError::outOfMemory());
    } catch (const std::exception &e) {
        return reportRuntimeError(parent, title,
                                  RuntimeError(RuntimeError::InternalErrorNumber, e.what()));
    }
}

} // namespace zanvo
