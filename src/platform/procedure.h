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
// The one place that tells the user of a run-time error: a failure of the
// database in plain words of its own, any other with the standard text (a
// description longer than kShownDescription is cut in the box and written
// whole to the log). An error told already is not told again.
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

template <bool passTold, class F>
auto guarded(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    using R = decltype(body());
    try {
        return body();
    } catch (const RuntimeError& e) {
        if constexpr (passTold)
            if (e.told()) throw;
        reportRuntimeError(owner, proc, e);
        return emptyDefault<R>();
    }
}
}  // namespace detail

// The standard error tail without the trace (procedures that are not traced,
// or whose trace must come before something else).
template <class F>
auto guardProc(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    return detail::guarded<false>(owner, proc, std::forward<F>(body));
}

// The standard error tail of a reader whose callers act on its answer: an
// error told already (its query failed) passes up, so that they stop rather
// than take the empty default for a value read.
template <class F>
auto guardReader(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    return detail::guarded<true>(owner, proc, std::forward<F>(body));
}

// The standard error tail for a procedure whose callers cannot go on without
// it (a query they are about to read): the error is told here, then passed up
// as told, so that the callers stop without telling it a second time.
template <class F>
auto tellThenRaise(const Owner& owner, const std::string& proc, F&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const RuntimeError& e) {
        reportRuntimeError(owner, proc, e);
        throw e.asTold();
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
