#include "ui/png_image.h"

#include <climits>
#include <memory>

// PNG from memory only: no other format, no file access, no floating-point images, no message texts, and no
// per-thread settings (the program never changes stb_image's defaults).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace {
struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
}  // namespace

std::optional<PngImage> DecodePngImage(const std::vector<std::uint8_t>& png) {
    if (png.empty() || png.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, StbFree> rgba(
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4));
    if (!rgba) return std::nullopt;

    PngImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    const stbi_uc* source = rgba.get();
    for (std::uint8_t* target = image.bgra.data(); target != image.bgra.data() + image.bgra.size();
         source += 4, target += 4) {
        const unsigned alpha = source[3];
        for (int channel = 0; channel < 3; ++channel)
            target[2 - channel] = static_cast<std::uint8_t>((source[channel] * alpha + 127) / 255);
        target[3] = static_cast<std::uint8_t>(alpha);
    }
    return image;
}
