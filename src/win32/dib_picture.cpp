#include "win32/dib_picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/fonts.h"
#include "system/windows/wide_text.h"
#include "system/windows/windows_file_system.h"
#include "win32/gdi_text.h"
#include "win32/wic_image_decoder.h"

namespace quorvel {

namespace {

using Microsoft::WRL::ComPtr;

std::uint32_t Opaque(Colour colour) {
    return 0xFF000000u | (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) | colour.blue;
}

struct Dib {
    GdiObject<HBITMAP> bitmap;
    std::uint32_t* bits = nullptr;
};

// A top-down 32-bit DIB section; an empty one when the system has no room.
Dib MakeDib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dib dib{GdiObject<HBITMAP>(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)),
            nullptr};
    if (dib.bitmap) {
        dib.bits = static_cast<std::uint32_t*>(bits);
    }
    return dib;
}

// Pixels of 0xAARRGGBB with premultiplied colour, rows top to bottom.
struct PixelRows {
    const std::uint32_t* pixels;
    int width;
    int height;
};

std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

// Where each destination pixel of a run of `destination` takes its source
// from when `source` pixels are stretched over it: the two neighbouring
// source pixels and the weight (0-256) of the second, sampled at the pixels'
// centres; without smoothing, the nearest source pixel alone.
struct Sample {
    int first;
    int second;
    std::uint32_t weight;
};
std::vector<Sample> Samples(int source, int destination, bool smooth) {
    std::vector<Sample> samples(static_cast<std::size_t>(destination));
    const double step = static_cast<double>(source) / destination;
    for (int d = 0; d < destination; ++d) {
        if (!smooth) {
            const int nearest = std::min(static_cast<int>((d + 0.5) * step), source - 1);
            samples[static_cast<std::size_t>(d)] = {nearest, nearest, 0};
            continue;
        }
        const double at = std::clamp((d + 0.5) * step - 0.5, 0.0, static_cast<double>(source - 1));
        const int first = static_cast<int>(at);
        samples[static_cast<std::size_t>(d)] = {first, std::min(first + 1, source - 1),
                                                static_cast<std::uint32_t>(std::lround((at - first) * 256))};
    }
    return samples;
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    std::uint32_t mixed = 0;
    for (const int shift : {0, 8, 16, 24}) {
        const std::uint32_t channel =
            (Channel(a, shift) * (256 - weight) + Channel(b, shift) * weight + 128) >> 8;
        mixed |= channel << shift;
    }
    return mixed;
}

// Source over destination with premultiplied colour.
std::uint32_t Over(std::uint32_t source, std::uint32_t destination) {
    const std::uint32_t alpha = Channel(source, 24);
    if (alpha == 255) {
        return source;
    }
    if (source == 0) {
        return destination;
    }
    std::uint32_t blended = 0;
    for (const int shift : {0, 8, 16, 24}) {
        const std::uint32_t channel =
            Channel(source, shift) + (Channel(destination, shift) * (255 - alpha) + 127) / 255;
        blended |= std::min<std::uint32_t>(channel, 255) << shift;
    }
    return blended;
}

enum class Stretch { Smooth, Nearest };

// Puts `source` over the device rectangle at (x, y) of `width` x `height`
// pixels of the picture, stretched when the sizes differ; only the part
// inside the picture is written.
void Compose(std::uint32_t* picture, int pictureWidth, int pictureHeight, PixelRows source, int x, int y,
             int width, int height, bool blend, Stretch stretch) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, pictureWidth);
    const int bottom = std::min(y + height, pictureHeight);
    if (left >= right || top >= bottom || source.width <= 0 || source.height <= 0) {
        return;
    }
    const bool stretched = width != source.width || height != source.height;
    const std::vector<Sample> across =
        stretched ? Samples(source.width, width, stretch == Stretch::Smooth) : std::vector<Sample>();
    const std::vector<Sample> down =
        stretched ? Samples(source.height, height, stretch == Stretch::Smooth) : std::vector<Sample>();
    const auto at = [&](int column, int row) {
        return source.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(source.width) +
                             static_cast<std::size_t>(column)];
    };
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* line =
            picture + static_cast<std::size_t>(row) * static_cast<std::size_t>(pictureWidth);
        for (int column = left; column < right; ++column) {
            std::uint32_t pixel = 0;
            if (stretched) {
                const Sample& h = across[static_cast<std::size_t>(column - x)];
                const Sample& v = down[static_cast<std::size_t>(row - y)];
                pixel = Mix(Mix(at(h.first, v.first), at(h.second, v.first), h.weight),
                            Mix(at(h.first, v.second), at(h.second, v.second), h.weight), v.weight);
            } else {
                pixel = at(column - x, row - y);
            }
            line[column] = blend ? Over(pixel, line[column]) : (pixel | 0xFF000000u);
        }
    }
}

int DevicePixels(int layout, double ratio) {
    return static_cast<int>(std::lround(layout * ratio));
}

int DeviceSize(int layout, double ratio) {
    return std::max(1, static_cast<int>(std::ceil(layout * ratio)));
}

UINT AlignmentOf(TextAlign align) {
    return align == TextAlign::Centre ? DT_CENTER : align == TextAlign::Right ? DT_RIGHT : DT_LEFT;
}

} // namespace

DibPicture::DibPicture(Colour blank)
    : blank_(Opaque(blank)), dc_(::CreateCompatibleDC(nullptr)), text_(FontsFor(0).text),
      title_(FontsFor(0).title) {
    ::SetBkMode(dc_, TRANSPARENT);
    resize(1, 1, 1);
    setFonts(text_, title_);
}

DibPicture::~DibPicture() {
    if (initialBitmap_ != nullptr) {
        ::SelectObject(dc_, initialBitmap_);
    }
    ::DeleteDC(dc_);
}

void DibPicture::resize(int width, int height, double ratio) {
    ratio = std::max(ratio, 1.0);
    const int newWidth = DeviceSize(width, ratio);
    const int newHeight = DeviceSize(height, ratio);
    Dib dib = MakeDib(newWidth, newHeight);
    if (!dib.bitmap) {
        return; // keeps the picture it has
    }
    std::fill_n(dib.bits, static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight), blank_);
    if (bits_ != nullptr) {
        ::GdiFlush();
        // What was drawn stays where it was, at the new density, each pixel
        // as it was: the controller draws afresh what should be sharper.
        Compose(dib.bits, newWidth, newHeight, {bits_, width_, height_}, 0, 0,
                static_cast<int>(std::lround(width_ * ratio / ratio_)),
                static_cast<int>(std::lround(height_ * ratio / ratio_)), false, Stretch::Nearest);
    }
    const HGDIOBJ previous = ::SelectObject(dc_, dib.bitmap.get());
    if (initialBitmap_ == nullptr) {
        initialBitmap_ = previous;
    }
    bitmap_ = std::move(dib.bitmap);
    bits_ = dib.bits;
    width_ = newWidth;
    height_ = newHeight;
    if (ratio != ratio_) {
        ratio_ = ratio;
        setFonts(text_, title_);
    }
}

void DibPicture::setFonts(const FontSpec& text, const FontSpec& title) {
    text_ = text;
    title_ = title;
    textFont_ = MakeFont(text_, ratio_);
    titleFont_ = MakeFont(title_, ratio_);
}

void DibPicture::paintOnto(HDC dc) const {
    ::BitBlt(dc, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

RECT DibPicture::devicePixels(Rect box) const {
    return {DevicePixels(box.left, ratio_), DevicePixels(box.top, ratio_), DevicePixels(box.right, ratio_),
            DevicePixels(box.bottom, ratio_)};
}

void DibPicture::makeOpaque(RECT area) {
    ::GdiFlush();
    const int left = std::max<int>(area.left, 0);
    const int right = std::min<int>(area.right, width_);
    for (int row = std::max<int>(area.top, 0); row < std::min<int>(area.bottom, height_); ++row) {
        std::uint32_t* line = bits_ + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
        for (int column = left; column < right; ++column) {
            line[column] |= 0xFF000000u;
        }
    }
}

void DibPicture::drawImage(const SkinImage& image, Point at) {
    if (image.width <= 0 || image.height <= 0 || image.scale <= 0 ||
        image.pixels.size() <
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return;
    }
    ::GdiFlush();
    // An image of another density than the picture's is stretched smoothly.
    // Its edges are rounded as a box's are, so that images side by side
    // meet without a gap at any ratio.
    const auto edge = [&](int layout, int pixels) {
        return static_cast<int>(std::lround((layout + static_cast<double>(pixels) / image.scale) * ratio_));
    };
    const int left = DevicePixels(at.x, ratio_);
    const int top = DevicePixels(at.y, ratio_);
    Compose(bits_, width_, height_, {image.pixels.data(), image.width, image.height}, left, top,
            edge(at.x, image.width) - left, edge(at.y, image.height) - top, image.hasAlpha, Stretch::Smooth);
}

void DibPicture::drawText(std::string_view text, Rect box, FontRole role, Colour colour, TextAlign align) {
    RECT area = devicePixels(box);
    const FittedLine line = FitLine(dc_, fontSpec(role), ratio_, WideFromUtf8(text), area.right - area.left);
    const HGDIOBJ previous = ::SelectObject(dc_, line.font.get());
    ::SetTextColor(dc_, RGB(colour.red, colour.green, colour.blue));
    ::DrawTextW(dc_, line.text.c_str(), static_cast<int>(line.text.size()), &area,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignmentOf(align));
    ::SelectObject(dc_, previous);
    makeOpaque(area);
}

void DibPicture::drawWrappedText(std::string_view text, Rect box, FontRole role, Colour colour) {
    // Lines that do not fit the box's height stand above and below it, the
    // block still centred on the box's middle.
    const RECT area = devicePixels(box);
    const std::wstring wide = WideFromUtf8(text);
    const HGDIOBJ previous = ::SelectObject(dc_, font(role));
    ::SetTextColor(dc_, RGB(colour.red, colour.green, colour.blue));
    constexpr UINT kFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
    RECT block = area;
    ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &block, kFormat | DT_CALCRECT);
    const LONG height = block.bottom - block.top;
    block.top = area.top + (area.bottom - area.top - height) / 2;
    block.bottom = block.top + height;
    block.right = std::max(block.right, area.right);
    ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &block, kFormat | DT_NOCLIP);
    ::SelectObject(dc_, previous);
    makeOpaque(block);
}

void DibPicture::fillRect(Rect box, Colour colour) {
    const RECT area = devicePixels(box);
    const std::uint32_t pixel = Opaque(colour);
    ::GdiFlush();
    for (int row = std::max<int>(area.top, 0); row < std::min<int>(area.bottom, height_); ++row) {
        std::uint32_t* line = bits_ + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
        std::fill(line + std::max<int>(area.left, 0), line + std::max(std::min<int>(area.right, width_), 0),
                  pixel);
    }
}

void DibPicture::present() {
    if (window_ != nullptr) {
        ::InvalidateRect(window_, nullptr, FALSE);
        ::UpdateWindow(window_);
    }
}

bool SavePng(const DibPicture& picture, const std::filesystem::path& file) {
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (!com.ok() ||
        FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory))) ||
        FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get()))) {
        return false;
    }
    // The picture is opaque: three bytes a pixel, blue first.
    const UINT width = static_cast<UINT>(picture.pixelWidth());
    const UINT height = static_cast<UINT>(picture.pixelHeight());
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetSize(width, height)) || FAILED(frame->SetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    const UINT stride = width * 3;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * height);
    ::GdiFlush();
    const std::uint32_t* pixels = picture.pixels();
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        rows[3 * i] = static_cast<BYTE>(pixels[i]);
        rows[3 * i + 1] = static_cast<BYTE>(pixels[i] >> 8);
        rows[3 * i + 2] = static_cast<BYTE>(pixels[i] >> 16);
    }
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(frame->WritePixels(height, stride, static_cast<UINT>(rows.size()), rows.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()) ||
        FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(::GetHGlobalFromStream(stream.Get(), &memory))) {
        return false;
    }
    const void* encoded = ::GlobalLock(memory);
    if (encoded == nullptr) {
        return false;
    }
    const std::vector<std::uint8_t> bytes(static_cast<const std::uint8_t*>(encoded),
                                          static_cast<const std::uint8_t*>(encoded) + stat.cbSize.QuadPart);
    ::GlobalUnlock(memory);
    WindowsFileSystem files;
    return !files.writeAtomically(file, bytes).has_value();
}

} // namespace quorvel
