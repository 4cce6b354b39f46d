#pragma once

#include <functional>
#include <string_view>

namespace mousecfg::trace {

// The system's debugger output. Texts are written as given (most end with "\n").
// By default they go to stderr when the environment variable MOUSECFG_TRACE is 1 and are dropped otherwise.
// Safe to call from any thread; texts from different threads are never interleaved.
void Write(std::string_view text);
void Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

using Sink = std::function<void(std::string_view)>;

// Replaces the sink for as long as the object lives (tests capture traces with it); the previous sink is
// restored on destruction. Not meant to be nested across threads.
class ScopedSink {
public:
    explicit ScopedSink(Sink sink);
    ~ScopedSink();
    ScopedSink(const ScopedSink&) = delete;
    ScopedSink& operator=(const ScopedSink&) = delete;

private:
    Sink previous_;
};

}  // namespace mousecfg::trace
