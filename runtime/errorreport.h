// Where run-time errors end: a handler runs guarded, and an error raised inside it is reported
// with its number and description before the program ends. Nothing crosses into the event loop.
#pragma once

#include "runtime/runtimeerror.h"

#include <QString>
#include <new>
#include <stdexcept>

class QWidget;

namespace zanvo {

// Shows the error in a message box and asks the event loop to end the program with code 1.
void reportRuntimeError(QWidget *parent, const QString &title, const RuntimeError &error);

template<class Handler>
void runGuarded(QWidget *parent, const QString &title, Handler &&handler) noexcept
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        reportRuntimeError(parent, title, error);
    } catch (const std::bad_alloc &) {
        reportRuntimeError(parent, title, RuntimeError::outOfMemory());
    } catch (const std::length_error &) {
        // A text longer than a string can hold.
        reportRuntimeError(parent, title, RuntimeError::outOfMemory());
    } catch (const std::exception &e) {
        reportRuntimeError(parent, title,
                           RuntimeError(RuntimeError::InternalErrorNumber, e.what()));
    }
}

} // namespace zanvo
