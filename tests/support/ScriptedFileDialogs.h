#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace mousecfg::test {

// File dialogs that answer from a script: each call takes the next queued answer (cancel when none is
// queued) and records the filter it was shown with.
class ScriptedFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> SaveFile(const FileFilter& filter) override {
        filters.push_back(filter);
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::vector<std::string> OpenFiles(const FileFilter& filter, bool multiple) override {
        filters.push_back(filter);
        lastMultiple = multiple;
        if (openAnswers.empty()) {
            return {};
        }
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::vector<std::string>> openAnswers;
    std::vector<FileFilter> filters;
    bool lastMultiple = false;
};

}  // namespace mousecfg::test
