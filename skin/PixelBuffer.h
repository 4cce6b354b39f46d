#pragma once

#include <cstdint>
#include <vector>

namespace mousecfg::skin {

// A picture as 32-bit 0xAARRGGBB pixels, row by row without padding: the captured picture of an animated control
// and the frames that an effect produces from it.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace mousecfg::skin
