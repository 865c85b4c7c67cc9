#include "win32/wic_image_decoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <limits>

namespace quorvel {

namespace {

using Microsoft::WRL::ComPtr;

// Whether pixels of `format` carry transparency: an alpha channel, or a
// palette with transparent entries.
bool HasAlpha(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, const WICPixelFormatGUID& format) {
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo2> info;
    BOOL transparent = FALSE;
    if (SUCCEEDED(factory.CreateComponentInfo(format, &component)) && SUCCEEDED(component.As(&info)) &&
        SUCCEEDED(info->SupportsTransparency(&transparent)) && transparent) {
        return true;
    }
    ComPtr<IWICPalette> palette;
    BOOL paletteAlpha = FALSE;
    return SUCCEEDED(factory.CreatePalette(&palette)) && SUCCEEDED(frame.CopyPalette(palette.Get())) &&
           SUCCEEDED(palette->HasAlpha(&paletteAlpha)) && paletteAlpha;
}

} // namespace

ComApartment::ComApartment() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    entered_ = SUCCEEDED(result);
    // A thread in a multithreaded apartment already can use COM as it is.
    ok_ = entered_ || result == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() {
    if (entered_) {
        ::CoUninitialize();
    }
}

std::optional<DecodedImage> WicImageDecoder::decode(const std::filesystem::path& path) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (!com.ok() ||
        FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || width == 0 || height == 0) {
        return std::nullopt;
    }
    // The size the file claims is looked at before a pixel is decoded; the
    // limits also keep the pixel count within the buffer sizes the calls take.
    if (!WithinImageLimits(width, height)) {
        constexpr UINT kLargestInt = std::numeric_limits<int>::max();
        return DecodedImage{static_cast<int>(std::min(width, kLargestInt)),
                            static_cast<int>(std::min(height, kLargestInt)),
                            false,
                            {}};
    }
    DecodedImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.hasAlpha = HasAlpha(*factory.Get(), *frame.Get(), format);
    image.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    // Blue, green, red, alpha is the order every converter serves; red and
    // blue change places after.
    ComPtr<IWICBitmapSource> converted;
    if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &converted)) ||
        FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.rgba.size()),
                                     image.rgba.data()))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        std::swap(image.rgba[i], image.rgba[i + 2]);
        if (!image.hasAlpha) {
            image.rgba[i + 3] = 255;
        }
    }
    return image;
}

} // namespace quorvel
