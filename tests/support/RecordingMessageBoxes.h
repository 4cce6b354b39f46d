#pragma once

#include <vector>

#include "platform/MessageBoxes.h"

namespace mousecfg::test {

// Message boxes that record what they were asked to show and answer with `answer`.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    int Show(const MessageBoxRequest& request) override {
        shown.push_back(request);
        return answer;
    }

    std::vector<MessageBoxRequest> shown;
    int answer = 1;
};

}  // namespace mousecfg::test
