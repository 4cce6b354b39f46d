#pragma once

#include <cstdint>
#include <cstddef>
#include <deque>

namespace mousecfg::ui {

struct PageContext;

// What a settings page asks for after the user changed a setting: a single apply run of the setting's request type
// (message 2051 through the session), the same for the fire value (the run rewrites the fire-key buttons), or the
// relay of a sensor option to the main window (2060 ... 2074, which marks the option pending and asks for its run).
//
// The apply engine drops a request made while a run is under way, so a change made then waits here and goes out
// when the run has finished (ApplyFinished), one per finished run, in the order made; asking again for a request
// that is already waiting does not queue it twice (a relay keeps its latest value). UI thread only.
class PageRequests {
public:
    explicit PageRequests(PageContext& context) : context_(context) {}

    void Apply(int requestType);
    void ApplyFireValue();
    void Relay(uint32_t message, uintptr_t wParam);
    // An apply run finished: the oldest waiting request goes out.
    void ApplyFinished();
    // The requests waiting for the run under way.
    size_t Waiting() const { return waiting_.size(); }

private:
    struct Request {
        enum class Kind { Apply, Fire, Relay } kind;
        uint32_t id;  // the request type, or the relay message
        uintptr_t wParam;
    };
    void Make(Request request);
    void Send(const Request& request);

    PageContext& context_;
    std::deque<Request> waiting_;
};

}  // namespace mousecfg::ui
