#pragma once

#include <cstdint>
#include <vector>

// Report descriptors of common devices, typed in from public HID documentation.
namespace quorvel::descriptors {

// Boot mouse, Device Class Definition for HID 1.11, Appendix E.10: three buttons, five bits
// of padding, X and Y. No report IDs.
inline const std::vector<std::uint8_t> kBootMouse{
    0x05, 0x01, // Usage Page (Generic Desktop)
    0x09, 0x02, // Usage (Mouse)
    0xA1, 0x01, // Collection (Application)
    0x09, 0x01, //   Usage (Pointer)
    0xA1, 0x00, //   Collection (Physical)
    0x05, 0x09, //     Usage Page (Buttons)
    0x19, 0x01, //     Usage Minimum (1)
    0x29, 0x03, //     Usage Maximum (3)
    0x15, 0x00, //     Logical Minimum (0)
    0x25, 0x01, //     Logical Maximum (1)
    0x95, 0x03, //     Report Count (3)
    0x75, 0x01, //     Report Size (1)
    0x81, 0x02, //     Input (Data, Variable, Absolute): 3 buttons
    0x95, 0x01, //     Report Count (1)
    0x75, 0x05, //     Report Size (5)
    0x81, 0x01, //     Input (Constant): 5 bits of padding
    0x05, 0x01, //     Usage Page (Generic Desktop)
    0x09, 0x30, //     Usage (X)
    0x09, 0x31, //     Usage (Y)
    0x15, 0x81, //     Logical Minimum (-127)
    0x25, 0x7F, //     Logical Maximum (127)
    0x75, 0x08, //     Report Size (8)
    0x95, 0x02, //     Report Count (2)
    0x81, 0x06, //     Input (Data, Variable, Relative): X, Y
    0xC0,       //   End Collection
    0xC0,       // End Collection
};

// Boot keyboard, Device Class Definition for HID 1.11, Appendix E.6: modifier byte,
// reserved byte, six key codes in; five LEDs and three bits of padding out.
inline const std::vector<std::uint8_t> kBootKeyboard{
    0x05, 0x01, // Usage Page (Generic Desktop)
    0x09, 0x06, // Usage (Keyboard)
    0xA1, 0x01, // Collection (Application)
    0x05, 0x07, //   Usage Page (Key Codes)
    0x19, 0xE0, //   Usage Minimum (224)
    0x29, 0xE7, //   Usage Maximum (231)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x01, //   Logical Maximum (1)
    0x75, 0x01, //   Report Size (1)
    0x95, 0x08, //   Report Count (8)
    0x81, 0x02, //   Input (Data, Variable, Absolute): modifier byte
    0x95, 0x01, //   Report Count (1)
    0x75, 0x08, //   Report Size (8)
    0x81, 0x01, //   Input (Constant): reserved byte
    0x95, 0x05, //   Report Count (5)
    0x75, 0x01, //   Report Size (1)
    0x05, 0x08, //   Usage Page (LEDs)
    0x19, 0x01, //   Usage Minimum (1)
    0x29, 0x05, //   Usage Maximum (5)
    0x91, 0x02, //   Output (Data, Variable, Absolute): LED report
    0x95, 0x01, //   Report Count (1)
    0x75, 0x03, //   Report Size (3)
    0x91, 0x01, //   Output (Constant): LED report padding
    0x95, 0x06, //   Report Count (6)
    0x75, 0x08, //   Report Size (8)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x65, //   Logical Maximum (101)
    0x05, 0x07, //   Usage Page (Key Codes)
    0x19, 0x00, //   Usage Minimum (0)
    0x29, 0x65, //   Usage Maximum (101)
    0x81, 0x00, //   Input (Data, Array): six key codes
    0xC0,       // End Collection
};

// Keyboard keys and a consumer (volume) collection, numbered reports 1 and 2:
// the first two collections of Microsoft's sample "HID button report
// descriptors" (Windows hardware design guidelines).
inline const std::vector<std::uint8_t> kKeyboardWithConsumerControl{
    0x05, 0x01, // Usage Page (Generic Desktop)
    0x09, 0x06, // Usage (Keyboard)
    0xA1, 0x01, // Collection (Application)
    0x85, 0x01, //   Report ID (1)
    0x05, 0x07, //   Usage Page (Key Codes)
    0x09, 0x4C, //   Usage (Delete)
    0x09, 0x69, //   Usage (F14)
    0x09, 0x6A, //   Usage (F15)
    0x09, 0xE0, //   Usage (Left Control)
    0x09, 0xE2, //   Usage (Left Alt)
    0x09, 0xE3, //   Usage (Left GUI)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x01, //   Logical Maximum (1)
    0x75, 0x01, //   Report Size (1)
    0x95, 0x06, //   Report Count (6)
    0x81, 0x02, //   Input (Data, Variable, Absolute)
    0x95, 0x1A, //   Report Count (26)
    0x81, 0x03, //   Input (Constant, Variable, Absolute)
    0xC0,       // End Collection
    0x05, 0x0C, // Usage Page (Consumer)
    0x09, 0x01, // Usage (Consumer Control)
    0xA1, 0x01, // Collection (Application)
    0x85, 0x02, //   Report ID (2)
    0x09, 0xE9, //   Usage (Volume Increment)
    0x09, 0xEA, //   Usage (Volume Decrement)
    0x15, 0x00, //   Logical Minimum (0)
    0x25, 0x01, //   Logical Maximum (1)
    0x75, 0x01, //   Report Size (1)
    0x95, 0x02, //   Report Count (2)
    0x81, 0x02, //   Input (Data, Variable, Absolute)
    0x95, 0x1E, //   Report Count (30)
    0x81, 0x03, //   Input (Constant, Variable, Absolute)
    0xC0,       // End Collection
};

// A touchpad's mouse collection (report 1 in, vendor feature 0x0E) and its
// vendor-defined collection (report 0x5C in; feature reports 0x0D, 0x0C of
// 528 bytes, 0x0B), as a published dump of the device's descriptor shows them.
inline const std::vector<std::uint8_t> kTouchpadVendorCollections{
    0x05, 0x01,       // Usage Page (Generic Desktop)
    0x09, 0x02,       // Usage (Mouse)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x01,       //   Report ID (1)
    0x09, 0x01,       //   Usage (Pointer)
    0xA1, 0x00,       //   Collection (Physical)
    0x05, 0x09,       //     Usage Page (Buttons)
    0x19, 0x01,       //     Usage Minimum (1)
    0x29, 0x02,       //     Usage Maximum (2)
    0x15, 0x00,       //     Logical Minimum (0)
    0x25, 0x01,       //     Logical Maximum (1)
    0x75, 0x01,       //     Report Size (1)
    0x95, 0x02,       //     Report Count (2)
    0x81, 0x02,       //     Input (Data, Variable, Absolute)
    0x95, 0x06,       //     Report Count (6)
    0x81, 0x03,       //     Input (Constant, Variable, Absolute)
    0x05, 0x01,       //     Usage Page (Generic Desktop)
    0x09, 0x30,       //     Usage (X)
    0x09, 0x31,       //     Usage (Y)
    0x15, 0x81,       //     Logical Minimum (-127)
    0x25, 0x7F,       //     Logical Maximum (127)
    0x75, 0x08,       //     Report Size (8)
    0x95, 0x02,       //     Report Count (2)
    0x81, 0x06,       //     Input (Data, Variable, Relative)
    0x75, 0x08,       //     Report Size (8)
    0x95, 0x05,       //     Report Count (5)
    0x81, 0x03,       //     Input (Constant, Variable, Absolute)
    0xC0,             //   End Collection
    0x06, 0x00, 0xFF, //   Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,       //   Usage (1)
    0x85, 0x0E,       //   Report ID (14)
    0x09, 0xC5,       //   Usage (0xC5)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x04,       //   Report Count (4)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0xC0,             // End Collection
    0x06, 0x00, 0xFF, // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x5C,       //   Report ID (92)
    0x09, 0x01,       //   Usage (1)
    0x95, 0x0B,       //   Report Count (11)
    0x75, 0x08,       //   Report Size (8)
    0x81, 0x06,       //   Input (Data, Variable, Relative)
    0x85, 0x0D,       //   Report ID (13)
    0x09, 0xC5,       //   Usage (0xC5)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x04,       //   Report Count (4)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0x85, 0x0C,       //   Report ID (12)
    0x09, 0xC6,       //   Usage (0xC6)
    0x96, 0x10, 0x02, //   Report Count (528)
    0x75, 0x08,       //   Report Size (8)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0x85, 0x0B,       //   Report ID (11)
    0x09, 0xC7,       //   Usage (0xC7)
    0x95, 0x42,       //   Report Count (66)
    0x75, 0x08,       //   Report Size (8)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0xC0,             // End Collection
};

} // namespace quorvel::descriptors
