// Traced procedures: every procedure announces itself, then runs its body under
// the standard error tail (the error text shown, the procedure's empty default
// returned, the caller not told).
#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include "platform/runtime.h"

namespace qv {

// Who owns a procedure: a window ("of Form x") or a module ("of Modulo x").
struct Owner {
    std::string name;
    bool isForm = false;
    static Owner form(std::string n) { return {std::move(n), true}; }
    static Owner module(std::string n) { return {std::move(n), false}; }
};

// Implemented by the application core (trace and error text).
void traceProc(const std::string& owner, const std::string& proc);
std::string standardErrorText(const Owner& owner, const std::string& proc, const RuntimeError& e);
// Shows the standard text; a description longer than kShownDescription is
// cut in the box and written whole to the log.
void reportRuntimeError(const Owner& owner, const std::string& proc, const RuntimeError& e);
constexpr std::size_t kShownDescription = 300;
// Shows a failure the user must know of, in the program's message box.
void reportFailure(const std::string& message);

namespace detail {
template <class R>
R emptyDefault() {
    if constexpr (std::is_void_v<R>) return;
    else return R{};
}
}  // namespace detail

// The standard error tail without the trace (procedures that are not traced,
// or whose trace must come before something else).
template <class F>
auto guardProc(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    using R = decltype(body());
    try {
        return body();
    } catch (const RuntimeError& e) {
        reportRuntimeError(owner, proc, e);
        return detail::emptyDefault<R>();
    }
}

// Trace, then the body under the standard error tail.
template <class F>
auto runProc(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    traceProc(owner.name, proc);
    return guardProc(owner, proc, std::forward<F>(body));
}

// Every run-time error ignored, no message.
template <class F>
auto ignoreErrors(F&& body) -> decltype(body()) {
    using R = decltype(body());
    try {
        return body();
    } catch (const RuntimeError&) {
        return detail::emptyDefault<R>();
    }
}

// Runs one step and ignores its run-time error ("on error resume next").
template <class F>
void resumeNext(F&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

}  // namespace qv
