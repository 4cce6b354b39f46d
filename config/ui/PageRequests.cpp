#include "config/ui/PageRequests.h"

#include <algorithm>

#include "config/ui/PageContext.h"
#include "config/ui/PageSession.h"
#include "device/DeviceRequest.h"
#include "platform/MessageSink.h"
#include "skin/SkinWindow.h"

namespace mousecfg::ui {

void PageRequests::Apply(int requestType) {
    Make({Request::Kind::Apply, static_cast<uint32_t>(requestType), 0});
}

void PageRequests::ApplyFireValue() {
    Make({Request::Kind::Fire, request::kKeyAssignment, 0});
}

void PageRequests::Relay(uint32_t message, uintptr_t wParam) {
    Make({Request::Kind::Relay, message, wParam});
}

void PageRequests::Make(Request request) {
    if (!context_.session.ApplyRunning()) {
        Send(request);
        return;
    }
    const auto same = std::find_if(waiting_.begin(), waiting_.end(), [&request](const Request& waiting) {
        return waiting.kind == request.kind && waiting.id == request.id;
    });
    if (same != waiting_.end()) {
        same->wParam = request.wParam;
    } else {
        waiting_.push_back(request);
    }
}

void PageRequests::Send(const Request& request) {
    switch (request.kind) {
        case Request::Kind::Fire:
            context_.session.MarkFireValueChanged();
            [[fallthrough]];
        case Request::Kind::Apply:
            context_.session.RequestApply(static_cast<int>(request.id), false);
            break;
        case Request::Kind::Relay:
            context_.window.Post(Message{request.id, request.wParam, 0, {}});
            break;
    }
}

void PageRequests::ApplyFinished() {
    if (waiting_.empty() || context_.session.ApplyRunning()) {
        return;
    }
    const Request next = waiting_.front();
    waiting_.pop_front();
    Send(next);
}

}  // namespace mousecfg::ui
