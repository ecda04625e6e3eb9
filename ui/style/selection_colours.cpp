#include "ui/style/selection_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Levels a channel may stray outside the way between the two colours (rounding in the system's blending).
constexpr int kTolerance = 3;
// Below this distance between the two colours a channel cannot tell how much text covers the pixel.
constexpr int kTellingSpan = 24;

int Channel(std::uint32_t pixel, int k) { return static_cast<int>((pixel >> (16 - 8 * k)) & 0xFF); }
int Channel(const StyleColour& c, int k) { return k == 0 ? c.red : k == 1 ? c.green : c.blue; }
}  // namespace

std::uint32_t RecolourSelectionPixel(std::uint32_t pixel, const SelectionColours& colours) {
    double coverage[3] = {};
    bool told[3] = {};
    double told_sum = 0;
    int told_count = 0;
    for (int k = 0; k < 3; ++k) {
        int value = Channel(pixel, k);
        int back = Channel(colours.system_back, k), text = Channel(colours.system_text, k);
        if (value < std::min(back, text) - kTolerance || value > std::max(back, text) + kTolerance)
            return pixel;  // not between the selection's background and text in this channel
        if (std::abs(text - back) < kTellingSpan) continue;
        coverage[k] = std::clamp(double(value - back) / double(text - back), 0.0, 1.0);
        told[k] = true;
        told_sum += coverage[k];
        ++told_count;
    }
    if (told_count == 0) return pixel;  // the system's two colours are alike: nothing tells them apart
    std::uint32_t out = 0;
    for (int k = 0; k < 3; ++k) {
        // A channel that cannot tell takes its neighbours' share: ClearType's channels differ only at edges.
        double share = told[k] ? coverage[k] : told_sum / told_count;
        int back = Channel(colours.style_back, k), text = Channel(colours.style_text, k);
        out = (out << 8) | static_cast<std::uint32_t>(std::lround(back + share * (text - back)));
    }
    return out;
}
