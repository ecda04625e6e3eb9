#pragma once
// Pictures carried in the executable as PNG, decoded once into bitmaps.
#include "ui/handles.h"

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    BitmapHandle bitmap;  // 32-bit, top-down, premultiplied alpha: ready for GdiAlphaBlend
    int width = 0;
    int height = 0;
};

Picture DecodePng(const std::vector<std::uint8_t>& png, const std::wstring& name);
Picture LoadPicture(const std::wstring& resource_name);
// An icon with the picture's alpha, for controls that show icons.
IconHandle IconFromPicture(const Picture& picture);
// Draws the picture unscaled with its alpha at x, y.
void DrawPicture(HDC dc, const Picture& picture, int x, int y);
