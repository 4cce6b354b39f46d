#pragma once

#include "platform/FontRegistry.h"

namespace mousecfg::qt {

// Application fonts of Qt: available to every window of the program until removed or the program ends.
class QtFontRegistry final : public FontRegistry {
public:
    int AddFont(const std::filesystem::path& file) override;
    bool RemoveFont(int id) override;
};

}  // namespace mousecfg::qt
