#pragma once

#include "platform/FontRegistry.h"

namespace mousecfg::qt {

// Application fonts of Qt: available to every window of the program until removed or the program ends.
class QtFontRegistry final : public FontRegistry {
public:
    int AddFont(const std::filesystem::path& file) override;
    bool RemoveFont(int id) override;
    // Chosen with fontconfig among the system's fonts and the added ones.
    std::vector<std::string> FacesFor(std::string_view preferred, std::string_view text,
                                      std::string_view language) override;
};

}  // namespace mousecfg::qt
