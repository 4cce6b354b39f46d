#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/MessageBoxes.h"

namespace mousecfg::cli {

// Message windows of the tool: one line on the error stream (the lines of a text joined by blanks), answered
// with "confirm".
class StderrMessageBoxes final : public MessageBoxes {
  public:
    explicit StderrMessageBoxes(std::FILE* err) : err_(err) {}
    int Show(const MessageBoxRequest& request) override {
        std::string line = request.text;
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::fprintf(err_, "mousecfg-cli: %s\n", line.c_str());
        ++shown_;
        return request.modal ? 1 : 0;
    }
    int shown() const { return shown_; }

  private:
    std::FILE* err_;
    int shown_ = 0;
};

}  // namespace mousecfg::cli
