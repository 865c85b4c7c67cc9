#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The names under which Linux shows a HID device, and the paths this adapter
// gives its collections. No system header: these are only texts.

namespace quorvel {

// The mouse that res/udev/70-quorvel.rules opens to the user at the seat.
// The rule spells the same two ids (lower-case hex, as sysfs does).
inline constexpr std::uint16_t kUdevRuleVendorId = 0x04d9;
inline constexpr std::uint16_t kUdevRuleProductId = 0xa09f;

struct HidDeviceIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    bool operator==(const HidDeviceIds&) const = default;
};

// The HID_ID property of a "hid" device: "bus:vendor:product" in hex, e.g.
// "0003:000004D9:0000A09F".
std::optional<HidDeviceIds> parseHidId(std::string_view hidId);

// The ids in a hidraw node's sysfs path: its "hid" parent is named
// "BBBB:VVVV:PPPP.NNNN" (".../0003:04D9:A09F.0005/hidraw/hidraw3"). The path
// is still known when the node is removed, after sysfs has dropped the parent.
std::optional<HidDeviceIds> hidIdsFromDevpath(std::string_view devpath);

// Collection paths: collection 0 of a node is the node itself ("/dev/hidraw3"),
// collection k > 0 is the node with "#k" appended ("/dev/hidraw3#1").
struct CollectionPath {
    std::string node;
    std::size_t index = 0;

    bool operator==(const CollectionPath&) const = default;
};

std::string collectionPath(std::string_view node, std::size_t index);
// Nothing unless `path` is written exactly as collectionPath() writes it.
std::optional<CollectionPath> splitCollectionPath(std::string_view path);

} // namespace quorvel
