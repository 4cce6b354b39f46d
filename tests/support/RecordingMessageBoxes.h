#pragma once

#include <vector>

#include "platform/MessageBoxes.h"

namespace mousecfg::test {

// Message windows that are recorded instead of shown; modal ones are answered with `answer`.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    int Show(const MessageBoxRequest& request) override {
        shown.push_back(request);
        return request.modal ? answer : 0;
    }

    std::vector<MessageBoxRequest> shown;
    int answer = 1;
};

}  // namespace mousecfg::test
