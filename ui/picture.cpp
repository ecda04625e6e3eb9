#include "ui/picture.h"

#include "platform/failure.h"
#include "ui/resources.h"

#include <wincodec.h>

namespace {
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { if (p_) p_->Release(); }
    T** put() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

void Check(HRESULT hr, const std::wstring& name) {
    if (FAILED(hr)) throw Failure(L"Cannot decode the picture " + name);
}
}  // namespace

Picture DecodePng(const std::vector<std::uint8_t>& png, const std::wstring& name) {
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.put())), name);
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.put()), name);
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size())), name);
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()), name);
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), name);
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.put()), name);
    Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom), name);
    UINT width = 0, height = 0;
    Check(converter->GetSize(&width, &height), name);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Picture picture;
    picture.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.bitmap) throw Failure(L"Cannot decode the picture " + name);
    Check(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)), name);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

Picture LoadPicture(const std::wstring& resource_name) {
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
    AlphaBlend(dc, x, y, picture.width, picture.height, source.get(), 0, 0, picture.width, picture.height, blend);
}
