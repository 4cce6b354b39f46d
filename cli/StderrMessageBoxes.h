#pragma once

#include <cstdio>

#include "platform/MessageBoxes.h"

namespace mousecfg::cli {

// Message windows of the tool: one line on the error stream, answered with "confirm".
class StderrMessageBoxes final : public MessageBoxes {
  public:
    explicit StderrMessageBoxes(std::FILE* err) : err_(err) {}
    int Show(const MessageBoxRequest& request) override {
        std::fprintf(err_, "mousecfg-cli: %s\n", request.text.c_str());
        ++shown_;
        return request.modal ? 1 : 0;
    }
    int shown() const { return shown_; }

  private:
    std::FILE* err_;
    int shown_ = 0;
};

}  // namespace mousecfg::cli
