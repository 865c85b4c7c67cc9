#pragma once

#include "ports/ui_port.h"

namespace quorvel {

// COM for the calling thread while it lives: joins the apartment the thread
// already has (the interface thread may have one of its own) or enters a
// single-threaded one, and leaves only what it entered.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // False when COM could not be started on this thread.
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
    bool entered_ = false;
};

// PNG files through the Windows Imaging Component. An image beyond the
// limits is answered from its header.
class WicImageDecoder final : public ImageDecoder {
public:
    std::optional<DecodedImage> decode(const std::filesystem::path& path) override;
    // Each call makes its own decoder objects, in COM set up for its thread.
    bool decodesConcurrently() const override { return true; }
};

} // namespace quorvel
