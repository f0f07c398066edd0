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
        try {
            handler();
        } catch (const std::bad_alloc &) {
            throw RuntimeError::outOfMemory();
        } catch (const std::length_error &) {
            throw RuntimeError::outOfMemory(); // a text longer than a string can hold
        } catch (const RuntimeError &) {
            throw;
        } catch (const std::exception &e) {
            throw RuntimeError(RuntimeError::InternalErrorNumber, e.what());
        }
    } catch (const RuntimeError &error) {
        reportRuntimeError(parent, title, error);
    }
}

} // namespace zanvo
