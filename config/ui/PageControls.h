#pragma once

#include <string>
#include <string_view>

#include "skin/Color.h"

namespace mousecfg::skin {
class Control;
class Option;
class SkinWindow;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

// Small operations of the settings pages on the main window's controls by name. A name the skin lacks is skipped:
// a model or skin without a control simply does not show it. UI thread only.
namespace controls {

// prefix + index ("chk_MouseAdv_PDIEn" + 3).
std::string Numbered(std::string_view prefix, int index);

void Show(skin::SkinWindow& window, std::string_view name, bool visible);
void Enable(skin::SkinWindow& window, std::string_view name, bool enabled);
void SetText(skin::SkinWindow& window, std::string_view name, const std::string& text);
// Selects or clears an option or check box without raising "selectchanged".
void Select(skin::SkinWindow& window, std::string_view name, bool selected);
bool IsSelected(const skin::SkinWindow& window, std::string_view name);
// Sets a slider's (or progress bar's) range and value without raising a notification.
void SetSlider(skin::SkinWindow& window, std::string_view name, int min, int max, int value);

// The position of `option` in its option group, or -1.
int GroupIndex(const skin::Option& option);
// Selects member `index` of an option group without notifications; a negative or missing index clears the group.
void SelectInGroup(skin::SkinWindow& window, std::string_view group, int index);

// A colour of the documents (0xRRGGBB) as a control colour, and back.
inline skin::Color Opaque(int rgb) { return 0xFF000000u | (static_cast<skin::Color>(rgb) & 0xFFFFFFu); }
inline int Rgb(skin::Color colour) { return static_cast<int>(colour & 0xFFFFFFu); }

}  // namespace controls
}  // namespace mousecfg::ui
