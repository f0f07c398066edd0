// The run-time error report.
#include "window/form/errorreport.h"

#include <new>
#include <stdexcept>

namespace zanvo {

std::string runtimeErrorReport(const RuntimeError &error)
{
    std::string description;
    switch (error.number()) {
    case RuntimeError::OverflowNumber:
        description = "溢出";
        break;
    case RuntimeError::OutOfMemoryNumber:
        description = "内存不足";
        break;
    default:
        description = error.description();
    }
    return "运行时错误 '" + std::to_string(error.number()) + "':\n\n" + description;
}

std::optional<std::string> runGuarded(const std::function<void()> &handler) noexcept
{
    try {
        handler();
        return std::nullopt;
    } catch (const RuntimeError &error) {
        return runtimeErrorReport(error);
    } catch (const std::bad_alloc &) {
        return runtimeErrorReport(RuntimeError::outOfMemory());
    } catch (const std::length_error &) {
        return runtimeErrorReport(RuntimeError::outOfMemory());
    } catch (const std::exception &e) {
        return runtimeErrorReport(RuntimeError(RuntimeError::InternalErrorNumber, e.what()));
    } catch (...) {
        // Nothing in the program throws other than exceptions, but a library may: the guard is
        // noexcept, and would otherwise end the program without a word.
        return runtimeErrorReport(RuntimeError(RuntimeError::InternalErrorNumber, "内部错误"));
    }
}

} // namespace zanvo
