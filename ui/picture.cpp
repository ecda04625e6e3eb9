#include "ui/picture.h"

#include "platform/failure.h"
#include "platform/startup_times.h"
#include "ui/png_image.h"
#include "ui/resources.h"

#include <cstring>

Picture DecodePng(const std::vector<std::uint8_t>& png, const std::wstring& name) {
    const std::optional<PngImage> image = DecodePngImage(png);
    if (!image) throw Failure(L"Cannot decode the picture " + name);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image->width;
    info.bmiHeader.biHeight = -image->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Picture picture;
    picture.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.bitmap) throw Failure(L"Cannot decode the picture " + name);
    std::memcpy(bits, image->bgra.data(), image->bgra.size());
    picture.width = image->width;
    picture.height = image->height;
    return picture;
}

Picture LoadPicture(const std::wstring& resource_name) {
    StartupStep step(L"pictures, decoded");
    return DecodePng(LoadResourceBytes(resource_name, MAKEINTRESOURCEW(10) /* RT_RCDATA */), resource_name);
}

IconHandle IconFromPicture(const Picture& picture) {
    BitmapHandle mask(CreateBitmap(picture.width, picture.height, 1, 1, nullptr));
    ICONINFO info{TRUE, 0, 0, mask.get(), picture.bitmap.get()};
    return IconHandle(CreateIconIndirect(&info));
}

void DrawPicture(HDC dc, const Picture& picture, int x, int y) {
    MemoryDC source(dc);
    SelectedObject selected(source.get(), picture.bitmap.get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, picture.width, picture.height, source.get(), 0, 0, picture.width, picture.height, blend);
}
