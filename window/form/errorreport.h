// Where run-time errors end: a handler runs guarded, and an error raised inside it becomes a
// report with its number and description, after which the program ends with runtimeErrorStatus.
// Nothing crosses into the event loop.
#pragma once

#include "runtime/runtimeerror.h"

#include <functional>
#include <optional>
#include <string>

namespace zanvo {

// The exit status of a program ended by a run-time error.
inline constexpr int runtimeErrorStatus = 1;

// The report as the user reads it: "运行时错误 '6':" and, after an empty line, the description.
std::string runtimeErrorReport(const RuntimeError &error);

// Runs handler; returns nothing, or where it raised an error, the report of it. Running out of
// memory, or a text longer than a string holds, is the Out of memory error; any other exception
// is an internal error with its own words.
std::optional<std::string> runGuarded(const std::function<void()> &handler) noexcept;

} // namespace zanvo
