#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mousecfg::skin {

class PaintManager;
class TextQuery;

// Process-wide state of the skin library: the resource folder that skin files and images are found in, the
// text source of all windows, and the paint managers alive. Used on the user-interface thread only.
class SkinResources {
public:
    // The folder of skin files; relative image paths are looked up here first, then from the working folder.
    static void SetResourcePath(std::filesystem::path folder);
    static const std::filesystem::path& GetResourcePath();

    // The text source of every window (none by default). The caller keeps it alive while it is set.
    static void SetTextQueryInterface(TextQuery* query);
    static TextQuery* GetTextQueryInterface();
    // Asks the text source again for the text of every control with a text id, in every window.
    static void ReloadText();

    // The font face of the language, given to every font of every window, those loaded later included; empty
    // (the default) leaves each skin's own faces. A face may name fallbacks after it, separated by commas.
    static void SetFontFamily(std::string family);
    static const std::string& GetFontFamily();

    // Right-to-left languages: texts run and align from the right, and the parts of windows whose skin allows it
    // ("mirror", see Control::IsMirrored) are laid out mirrored. Every window is laid out again.
    static void SetRightToLeft(bool rightToLeft);
    static bool IsRightToLeft();

    // Paint managers register themselves for ReloadText.
    static void Register(PaintManager* manager);
    static void Unregister(PaintManager* manager);
    static const std::vector<PaintManager*>& Managers();
};

}  // namespace mousecfg::skin
