#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "layout/CControlAttributes.h"

namespace mousecfg::layout {

// A position file: the page container with its size and images, and one entry per control, in file order.
struct PositionFile {
    std::string containerName;
    int width = 0;
    int height = 0;
    std::string bkImage;
    PageImages images;
    std::vector<std::unique_ptr<CControlAttributes>> controls;
    bool opened = false;  // the file could be read
    bool damaged = false;  // it is not what a position file must be (JSON error, a missing or mistyped member or entry)

    // Reads a position file. Reading stops at the first missing or mistyped member of "Containerinfo" or at
    // "Controlinfo" that is not an array, keeping what was read before (a file without a valid
    // "Containerinfo" places no control); an entry that does not parse keeps its defaults. Every problem is
    // traced with the file name.
    static PositionFile Read(const std::filesystem::path& file);
    static PositionFile Parse(std::string_view text, const std::string& name);

    // The entry object for a "type" text (case matters: "Button" is not "button" and makes a combo entry).
    static std::unique_ptr<CControlAttributes> MakeEntry(const std::string& type);
};

}  // namespace mousecfg::layout
