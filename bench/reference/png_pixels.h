#pragma once
// The hand-made reference's PNG decoding: 8-bit RGB or RGBA, not interlaced, into premultiplied BGRA rows.
// The program carries its pictures as PNG and decodes them itself (no imaging component, no COM); a hand-made
// program with the same pictures does the same work, so this is the plainest such decoder: inflate a bit at a
// time, undo the row filters, premultiply.
#include <cstdint>
#include <vector>

struct PngPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;  // top-down rows, premultiplied by alpha; empty when the bytes are damaged
};

PngPixels DecodePngPixels(const std::uint8_t* png, std::size_t size);
