#pragma once
// PNG decoding for the program's own pictures, by stb_image built for PNG alone. Decoding them here keeps the
// imaging component (and the COM objects and codec DLLs it brings) out of start-up.
#include <cstdint>
#include <optional>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;  // top-down rows, blue-green-red-alpha, colours premultiplied by alpha
};

// Nothing when the bytes are not a PNG or are damaged.
std::optional<PngImage> DecodePngImage(const std::vector<std::uint8_t>& png);
