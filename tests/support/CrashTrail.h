#pragma once

// A few lines that a crash report should carry besides the backtrace, such
// as the seed and the step of a random run: printed on a fatal signal, and
// at the end of a sanitizer's report.

#include <QByteArray>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
#include <sanitizer/common_interface_defs.h>
#define COFFERON_SANITIZED 1
#endif

namespace cofferon::test {

namespace crashtrail {

inline char text[4096];
inline struct sigaction previous[32];
inline constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

inline void print()
{
    // Only async-signal-safe calls from here on.
    const char* end = static_cast<const char*>(std::memchr(text, '\0', sizeof text));
    const ssize_t ignored = ::write(STDERR_FILENO, text, static_cast<std::size_t>(end ? end - text : 0));
    (void)ignored;
}

inline void onSignal(int signal)
{
    print();
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, count, STDERR_FILENO);
    // Whoever handled the signal before (the test library, the sanitizer) reports it too.
    ::sigaction(signal, &previous[signal], nullptr);
    ::raise(signal);
}

}  // namespace crashtrail

// Replaces the text printed when the process dies.
inline void setCrashTrail(const QByteArray& trail)
{
    const auto size = std::min(static_cast<std::size_t>(trail.size()), sizeof crashtrail::text - 1);
    std::memcpy(crashtrail::text, trail.constData(), size);
    crashtrail::text[size] = '\0';
}

inline void installCrashTrail()
{
    for (int signal : crashtrail::kSignals) {
        struct sigaction action = {};
        action.sa_handler = crashtrail::onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, &crashtrail::previous[signal]);
    }
#ifdef COFFERON_SANITIZED
    __sanitizer_set_death_callback(crashtrail::print);
#endif
}

}  // namespace cofferon::test
