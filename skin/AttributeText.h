#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "skin/Color.h"
#include "skin/Geometry.h"
#include "skin/ImageRef.h"

// Parsers of the attribute texts that skin files and the program give to controls. Each returns nothing when the
// text does not parse, so that the caller can report the attribute and keep the control's previous value.
namespace mousecfg::skin::attr {

// Numbers of attribute texts stay within this magnitude: no measure, index or value of a skin comes near it, and
// the layout adds and subtracts them (a rectangle from INT_MIN to INT_MAX would overflow its width).
inline constexpr int kMaxAttributeNumber = 1000000;

// A decimal integer with optional sign and surrounding blanks, within +-kMaxAttributeNumber.
std::optional<int> ParseInt(std::string_view text);
// "true" or "false" (any case); "1" and "0" too.
std::optional<bool> ParseBool(std::string_view text);
// Four comma-separated integers "l,t,r,b".
std::optional<Rect> ParseRect(std::string_view text);
// Two comma-separated integers "cx,cy".
std::optional<Size> ParseSize(std::string_view text);
// "#AARRGGBB", "#RRGGBB", "0xAARRGGBB" or "0xRRGGBB"; six digits give an opaque colour.
std::optional<Color> ParseColor(std::string_view text);
// An image text: either a bare file name or key='value' pairs with the keys file, source, corner, dest and fade.
// An empty text gives an empty image (no picture).
std::optional<ImageRef> ParseImage(std::string_view text);

std::string FormatRect(const Rect& rect);
// The attribute text of an image: "file='x' source='l,t,r,b'" (only the parts it has); empty for no image.
std::string FormatImage(const ImageRef& image);
std::string FormatColor(Color color);

}  // namespace mousecfg::skin::attr
