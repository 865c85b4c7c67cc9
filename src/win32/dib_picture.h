#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "ports/ui_port.h"
#include "win32/gdi_object.h"

namespace quorvel {

// A window's off-screen picture on a 32-bit top-down DIB section: the
// controller draws into it, the window paints it in one copy. It keeps what
// was drawn until it is drawn over, also across a change of size. It has as
// many pixels as the window has device pixels (the layout size times the
// ratio), so text and images are drawn at the screen's density; positions
// stay layout pixels. Every pixel is opaque.
class DibPicture final : public Canvas {
public:
    explicit DibPicture(Colour blank);
    ~DibPicture() override;
    DibPicture(const DibPicture&) = delete;
    DibPicture& operator=(const DibPicture&) = delete;

    // present() repaints this window's client area.
    void setWindow(HWND window) { window_ = window; }
    // Layout size and device pixels per layout pixel; keeps what was drawn.
    void resize(int width, int height, double ratio);
    void setFonts(const FontSpec& text, const FontSpec& title);
    // From WM_PAINT: one copy of the whole picture.
    void paintOnto(HDC dc) const;

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    double ratio() const { return ratio_; }
    // 0xAARRGGBB, rows top to bottom.
    const std::uint32_t* pixels() const { return bits_; }

    void drawImage(const SkinImage& image, Point at) override;
    void drawText(std::string_view text, Rect box, FontRole font, Colour colour, TextAlign align) override;
    void drawWrappedText(std::string_view text, Rect box, FontRole font, Colour colour) override;
    void fillRect(Rect box, Colour colour) override;
    void present() override;
    int imageDensity() const override { return ratio_ > 1 ? 2 : 1; }

private:
    // The device pixels of a layout rectangle.
    RECT devicePixels(Rect box) const;
    // GDI leaves alpha 0 where it draws; the picture stays opaque.
    void makeOpaque(RECT area);
    const FontSpec& fontSpec(FontRole role) const { return role == FontRole::Title ? title_ : text_; }
    HFONT font(FontRole role) const { return role == FontRole::Title ? titleFont_.get() : textFont_.get(); }

    std::uint32_t blank_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ initialBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    double ratio_ = 1;
    FontSpec text_;
    FontSpec title_;
    GdiObject<HFONT> textFont_;
    GdiObject<HFONT> titleFont_;
};

// Saves the picture as a PNG file; false when it could not be written.
bool SavePng(const DibPicture& picture, const std::filesystem::path& file);

} // namespace quorvel
