#pragma once

#include <string>
#include <vector>

#include "skin/AttributeText.h"
#include "skin/Painter.h"

namespace mousecfg::skin::test {

// A painter that writes down what it was asked to draw, one line per call, and checks that clips are balanced.
class RecordingPainter final : public Painter {
public:
    void FillRect(const Rect& rect, Color color) override {
        calls.push_back("fill " + attr::FormatRect(rect) + " " + attr::FormatColor(color));
    }
    void FillRoundRect(const Rect& rect, Color color, int radius) override {
        calls.push_back("fill " + attr::FormatRect(rect) + " " + attr::FormatColor(color) + " round " +
                        std::to_string(radius));
    }
    void FillGradient(const Rect& rect, Color from, Color to, bool vertical) override {
        calls.push_back("gradient " + attr::FormatRect(rect) + " " + attr::FormatColor(from) + " " +
                        attr::FormatColor(to) + (vertical ? " v" : " h"));
    }
    void DrawBorder(const Rect& rect, Color color, int width, int /*radius*/) override {
        calls.push_back("border " + attr::FormatRect(rect) + " " + attr::FormatColor(color) + " " +
                        std::to_string(width));
    }
    void DrawImage(const ImageRef& image, const Rect& dest) override {
        ImageRef shown = image;
        shown.file = std::filesystem::path(image.file).filename().string();
        calls.push_back("image " + attr::FormatImage(shown) + " at " + attr::FormatRect(dest));
    }
    void DrawText(const Rect& rect, std::string_view text, const FontSpec& font, Color color,
                  unsigned /*alignFlags*/) override {
        calls.push_back("text '" + std::string(text) + "' " + attr::FormatRect(rect) + " " + attr::FormatColor(color) +
                        " " + std::to_string(font.size));
    }
    void DrawPixels(const PixelBuffer& pixels, const Rect& dest) override {
        calls.push_back("pixels " + std::to_string(pixels.width) + "x" + std::to_string(pixels.height) + " at " +
                        attr::FormatRect(dest));
    }
    void PushClip(const Rect& /*rect*/) override { ++depth; }
    void PopClip() override { --depth; }

    // The calls that start with `prefix`.
    std::vector<std::string> With(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::vector<std::string> calls;
    int depth = 0;
};

}  // namespace mousecfg::skin::test
