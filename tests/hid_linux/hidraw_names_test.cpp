#include "hid/linux/hidraw_names.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace quorvel {
namespace {

TEST(HidrawNames, HidIdGivesVendorAndProduct) {
    struct Case {
        const char* text;
        std::optional<HidDeviceIds> ids;
    };
    const std::vector<Case> cases{
        {"0003:000004D9:0000A09F", HidDeviceIds{0x04D9, 0xA09F}},
        {"0005:0000046d:0000b023", HidDeviceIds{0x046D, 0xB023}},
        {"0018:000004F3:00003140", HidDeviceIds{0x04F3, 0x3140}},
        {"0003:000104D9:0000A09F", std::nullopt}, // wider than 16 bits
        {"0003:000004D9", std::nullopt},
        {"0003::0000A09F", std::nullopt},
        {"0003:000004D9:0000A09F:0001", std::nullopt},
        {"0003:-00004D9:0000A09F", std::nullopt},
        {"xx03:000004D9:0000A09F", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseHidId(c.text), c.ids);
    }
}

TEST(HidrawNames, SysfsPathOfANodeNamesItsDevice) {
    struct Case {
        const char* devpath;
        std::optional<HidDeviceIds> ids;
    };
    const std::vector<Case> cases{
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:04D9:A09F.0005/hidraw/hidraw3",
         HidDeviceIds{0x04D9, 0xA09F}},
        {"/devices/virtual/misc/uhid/0003:1234:ABCD.0001/hidraw/hidraw0", HidDeviceIds{0x1234, 0xABCD}},
        {"/devices/pci0000:00/usb1/1-2/1-2:1.1/0003:04D9:A09F/hidraw/hidraw3", std::nullopt}, // no sequence
        {"/devices/pci0000:00/usb1/1-2/1-2:1.1/hidraw3", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.devpath);
        EXPECT_EQ(hidIdsFromDevpath(c.devpath), c.ids);
    }
}

TEST(HidrawNames, CollectionPathsSplitBackIntoNodeAndIndex) {
    const std::vector<CollectionPath> paths{{"/dev/hidraw3", 0}, {"/dev/hidraw3", 1}, {"/dev/hidraw12", 10}};
    const std::vector<std::string> written{"/dev/hidraw3", "/dev/hidraw3#1", "/dev/hidraw12#10"};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(collectionPath(paths[i].node, paths[i].index), written[i]);
        EXPECT_EQ(splitCollectionPath(written[i]), paths[i]);
    }
    for (const char* other : {"/dev/hidraw3#0", "/dev/hidraw3#01", "/dev/hidraw3#", "/dev/hidraw3#x",
                              "/dev/hidraw3#1 ", "#1", ""}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(splitCollectionPath(other));
    }
}

TEST(UdevRule, HandsTheMouseToTheSeatUserWithoutWideningItsMode) {
    std::ifstream file(QUORVEL_SOURCE_DIR "/res/udev/70-quorvel.rules");
    ASSERT_TRUE(file) << "res/udev/70-quorvel.rules is missing";
    std::stringstream text;
    text << file.rdbuf();
    std::string rule;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.front() != '#') {
            rule += line + '\n';
        }
    }
    char vendor[40];
    char product[40];
    std::snprintf(vendor, sizeof vendor, "ATTRS{idVendor}==\"%04x\"", unsigned{kUdevRuleVendorId});
    std::snprintf(product, sizeof product, "ATTRS{idProduct}==\"%04x\"", unsigned{kUdevRuleProductId});

    EXPECT_NE(rule.find("KERNEL==\"hidraw*\""), std::string::npos) << rule;
    EXPECT_NE(rule.find(vendor), std::string::npos) << rule;
    EXPECT_NE(rule.find(product), std::string::npos) << rule;
    EXPECT_NE(rule.find("TAG+=\"uaccess\""), std::string::npos) << rule;
    EXPECT_EQ(rule.find("MODE"), std::string::npos) << rule;
    EXPECT_EQ(rule.find("GROUP"), std::string::npos) << rule;
}

} // namespace
} // namespace quorvel
