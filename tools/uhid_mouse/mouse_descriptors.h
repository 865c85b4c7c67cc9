#pragma once

#include <cstdint>
#include <string_view>

// How the mouse's two USB interfaces present themselves to the kernel: bus,
// ids and report descriptors. The report lengths they declare are those of
// SimReportLengths (checked by tests/vm/uhid_mouse_descriptors_test.cpp).

namespace quorvel::uhid_mouse {

inline constexpr std::uint16_t kBusUsb = 0x03;
inline constexpr std::uint16_t kVendorId = 0x04D9;
inline constexpr std::uint16_t kProductId = 0xA09F;
inline constexpr std::uint16_t kVersion = 0x0100;

// Interface 0: the event reports of the mouse's own buttons, report ID 6 and
// eight bytes (code, an unused byte, value, padding).
inline constexpr std::uint8_t kEventInterfaceDescriptor[]{
    0x06, 0x01, 0xFF, // Usage Page (Vendor 0xFF01)
    0x0A, 0x01, 0xFF, // Usage (0xFF01)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x06,       //   Report ID (6)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x08,       //   Report Count (8)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0xC0,             // End Collection
};

// Interface 1: commands in an eight-byte feature report, data blocks in
// 32-byte chunks both ways. No report IDs.
inline constexpr std::uint8_t kFeatureInterfaceDescriptor[]{
    0x06, 0x00, 0xFF, // Usage Page (Vendor 0xFF00)
    0x0A, 0x00, 0xFF, // Usage (0xFF00)
    0xA1, 0x01,       // Collection (Application)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x08,       //   Report Count (8)
    0x09, 0x01,       //   Usage (1)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute): the command
    0x95, 0x20,       //   Report Count (32)
    0x09, 0x02,       //   Usage (2)
    0x81, 0x02,       //   Input (Data, Variable, Absolute): a chunk the mouse sends
    0x09, 0x03,       //   Usage (3)
    0x91, 0x02,       //   Output (Data, Variable, Absolute): a chunk the program writes
    0xC0,             // End Collection
};

// The physical paths the two devices are created with, as usbhid names the
// interfaces of a USB device; they also find each device's hidraw node in sysfs.
inline constexpr std::string_view kEventInterfacePhys = "usb-quorvel-uhid-mouse/input0";
inline constexpr std::string_view kFeatureInterfacePhys = "usb-quorvel-uhid-mouse/input1";
inline constexpr std::string_view kDeviceName = "Quorvel uhid gaming mouse";

} // namespace quorvel::uhid_mouse
