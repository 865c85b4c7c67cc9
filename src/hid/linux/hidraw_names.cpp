#include "hid/linux/hidraw_names.h"

#include <charconv>

namespace quorvel {

namespace {

constexpr char kCollectionMark = '#';
constexpr std::string_view kHidrawFolder = "/hidraw/";

// A whole field of hex digits (either case) that fits 16 bits.
std::optional<std::uint16_t> hexField(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool allHexDigits(std::string_view text) {
    for (const char c : text) {
        const bool digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit) {
            return false;
        }
    }
    return !text.empty();
}

// "bus:vendor:product", each field hex.
std::optional<HidDeviceIds> threeFields(std::string_view text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos || !allHexDigits(text.substr(0, first))) {
        return std::nullopt;
    }
    const auto vendor = hexField(text.substr(first + 1, second - first - 1));
    const auto product = hexField(text.substr(second + 1));
    if (!vendor || !product) {
        return std::nullopt;
    }
    return HidDeviceIds{*vendor, *product};
}

} // namespace

std::optional<HidDeviceIds> parseHidId(std::string_view hidId) {
    return threeFields(hidId);
}

std::optional<HidDeviceIds> hidIdsFromDevpath(std::string_view devpath) {
    const std::size_t folder = devpath.rfind(kHidrawFolder);
    if (folder == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view parentPath = devpath.substr(0, folder);
    const std::string_view parent = parentPath.substr(parentPath.rfind('/') + 1);
    const std::size_t dot = parent.rfind('.');
    if (dot == std::string_view::npos || !allHexDigits(parent.substr(dot + 1))) {
        return std::nullopt;
    }
    return threeFields(parent.substr(0, dot));
}

std::string collectionPath(std::string_view node, std::size_t index) {
    std::string path(node);
    if (index != 0) {
        path += kCollectionMark;
        path += std::to_string(index);
    }
    return path;
}

std::optional<CollectionPath> splitCollectionPath(std::string_view path) {
    const std::size_t mark = path.rfind(kCollectionMark);
    if (mark == std::string_view::npos) {
        if (path.empty()) {
            return std::nullopt;
        }
        return CollectionPath{std::string(path), 0};
    }
    const std::string_view number = path.substr(mark + 1);
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), index);
    // Only the one spelling collectionPath() writes: no "#0", no leading zeros.
    if (mark == 0 || number.empty() || number.front() == '0' || error != std::errc() ||
        end != number.data() + number.size()) {
        return std::nullopt;
    }
    return CollectionPath{std::string(path.substr(0, mark)), index};
}

} // namespace quorvel
