#include "platform/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace mousecfg::trace {
namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

bool StderrWanted() {
    static const bool wanted = [] {
        const char* value = std::getenv("MOUSECFG_TRACE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return wanted;
}

// State below is protected by SinkMutex().
Sink& CurrentSink() {
    static Sink sink;
    return sink;
}

}  // namespace

void Write(std::string_view text) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    if (CurrentSink()) {
        CurrentSink()(text);
    } else if (StderrWanted()) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
}

void Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        Write(std::string_view(buffer.data(), static_cast<size_t>(length)));
    }
    va_end(args);
}

ScopedSink::ScopedSink(Sink sink) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    previous_ = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
}

ScopedSink::~ScopedSink() {
    std::lock_guard<std::mutex> lock(SinkMutex());
    CurrentSink() = std::move(previous_);
}

}  // namespace mousecfg::trace
