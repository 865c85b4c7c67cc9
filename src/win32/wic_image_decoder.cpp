#include "win32/wic_image_decoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

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

// A size beyond the limits, answered without pixels.
DecodedImage SizeOnly(UINT width, UINT height) {
    constexpr UINT kLargestInt = std::numeric_limits<int>::max();
    return {static_cast<int>(std::min(width, kLargestInt)),
            static_cast<int>(std::min(height, kLargestInt)),
            false,
            {}};
}

// The width and height a PNG file claims in its header, read before a
// decoder opens it: some decoders (Wine's) decode every pixel as they open
// the file, and a PNG of a few hundred bytes can claim 20000 x 20000.
std::optional<std::pair<UINT, UINT>> ClaimedPngSize(IWICImagingFactory& factory,
                                                    const std::filesystem::path& path) {
    constexpr std::array<BYTE, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr std::array<BYTE, 4> kHeaderChunk = {'I', 'H', 'D', 'R'};
    // The signature, the header chunk's length and type, then its width and
    // height, each big-endian.
    std::array<BYTE, 24> start{};
    ComPtr<IWICStream> stream;
    ULONG read = 0;
    if (FAILED(factory.CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_READ)) ||
        FAILED(stream->Read(start.data(), static_cast<ULONG>(start.size()), &read)) || read != start.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), start.begin()) ||
        !std::equal(kHeaderChunk.begin(), kHeaderChunk.end(), start.begin() + 12)) {
        return std::nullopt;
    }
    const auto bigEndian = [&](std::size_t at) {
        return UINT{start[at]} << 24 | UINT{start[at + 1]} << 16 | UINT{start[at + 2]} << 8 |
               UINT{start[at + 3]};
    };
    return std::pair{bigEndian(16), bigEndian(20)};
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
    if (!com.ok() || FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&factory)))) {
        return std::nullopt;
    }
    if (const auto claimed = ClaimedPngSize(*factory.Get(), path);
        claimed && !WithinImageLimits(claimed->first, claimed->second)) {
        return SizeOnly(claimed->first, claimed->second);
    }
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || width == 0 || height == 0) {
        return std::nullopt;
    }
    // The limits also keep the pixel count within the buffer sizes the calls take.
    if (!WithinImageLimits(width, height)) {
        return SizeOnly(width, height);
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
