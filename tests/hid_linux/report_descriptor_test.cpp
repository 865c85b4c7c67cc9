#include "hid/linux/report_descriptor.h"
#include "hid_linux/descriptors.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace quorvel {

void PrintTo(const TopLevelCollection& c, std::ostream* out) {
    *out << std::hex << "{page 0x" << c.usagePage << " usage 0x" << c.usage << std::dec << " in "
         << c.inputReportLength << " out " << c.outputReportLength << " feature " << c.featureReportLength
         << " ids";
    for (const auto id : c.inputReportIds) {
        *out << ' ' << int{id};
    }
    *out << '}';
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// Parsed from a heap copy of exactly the given size, so that a sanitizer
// build sees any read past the end.
ParsedReportDescriptor parse(const Bytes& bytes) {
    auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return parseReportDescriptor(std::span<const std::uint8_t>(copy.get(), bytes.size()));
}

struct DescriptorCase {
    const char* name;
    Bytes descriptor;
    bool numbered;
    std::vector<TopLevelCollection> collections;
};

TEST(ReportDescriptor, CommonDevicesGiveTheLengthsWindowsReports) {
    const std::vector<DescriptorCase> cases{
        {"boot mouse", descriptors::kBootMouse, false, {{0x0001, 0x0002, 4, 0, 0, {0}}}},
        {"boot keyboard", descriptors::kBootKeyboard, false, {{0x0001, 0x0006, 9, 2, 0, {0}}}},
        {"keyboard with consumer control",
         descriptors::kKeyboardWithConsumerControl,
         true,
         {{0x0001, 0x0006, 5, 0, 0, {1}}, {0x000C, 0x0001, 5, 0, 0, {2}}}},
        {"touchpad vendor collections",
         descriptors::kTouchpadVendorCollections,
         true,
         {{0x0001, 0x0002, 9, 0, 5, {1}}, {0xFF00, 0x0001, 12, 0, 529, {0x5C}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parse(c.descriptor);
        ASSERT_TRUE(parsed.ok()) << "fault " << static_cast<int>(parsed.fault) << " at "
                                 << parsed.faultOffset;
        EXPECT_EQ(parsed.layout.numberedReports, c.numbered);
        EXPECT_EQ(parsed.layout.collections, c.collections);
    }
}

TEST(ReportDescriptor, ItemsThatShapeTheCollections) {
    const std::vector<DescriptorCase> cases{
        {"push keeps the global state, pop brings it back",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, // vendor page, usage 1, application
          0x85, 0x01, 0x75, 0x08, 0x95, 0x04,       // report 1, 4 bytes
          0xA4,                                     // push
          0x85, 0x02, 0x95, 0x10, 0x05, 0x0C,       // report 2, 16 bytes, consumer page
          0x81, 0x02,                               // input 2: 16 bytes
          0xB4,                                     // pop: report 1, 4 bytes, vendor page
          0x81, 0x02, 0x91, 0x02,                   // input 1 and output 1: 4 bytes each
          0xC0,                                     //
          0x09, 0x02, 0xA1, 0x01, 0xC0},            // next collection still on the vendor page
         true,
         {{0xFF00, 0x0001, 17, 5, 0, {1, 2}}, {0xFF00, 0x0002, 0, 0, 0, {}}}},
        {"a report id met again adds to its report",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, //
          0x85, 0x01, 0x95, 0x02, 0xB1, 0x02,                   // feature 1: 2 bytes
          0x85, 0x02, 0x95, 0x05, 0xB1, 0x02,                   // feature 2: 5 bytes
          0x85, 0x01, 0x95, 0x06, 0xB1, 0x02,                   // feature 1: 6 more bytes
          0xC0},
         true,
         {{0xFF00, 0x0001, 0, 0, 9, {}}}},
        {"long items are skipped, a four-byte usage names its own page",
         {0x05, 0x01,                   // generic desktop page
          0x0B, 0x01, 0x00, 0x0C, 0x00, // usage 0x000C0001: consumer control
          0xFE, 0x02, 0xF0, 0xAA, 0xBB, // a long item with two data bytes
          0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0},
         false,
         {{0x000C, 0x0001, 2, 0, 0, {0}}}},
        {"the usage page in effect at the collection applies, even when given after the usage",
         {0x09, 0x06, 0x05, 0x01, 0xA1, 0x01, 0xC0},
         false,
         {{0x0001, 0x0006, 0, 0, 0, {}}}},
        {"two-byte usage page and usage",
         {0x06, 0x01, 0xFF, 0x0A, 0x01, 0xFF, 0xA1, 0x01, 0x85, 0x06, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02,
          0xC0},
         true,
         {{0xFF01, 0xFF01, 8, 0, 0, {6}}}},
        {"only top-level application collections are interfaces",
         {0x05, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0,       // a top-level physical collection
          0x09, 0x02, 0xA1, 0x01,                         // application
          0x09, 0x01, 0xA1, 0x00, 0xA1, 0x01, 0xA1, 0x02, // physical, application, logical inside
          0x75, 0x08, 0x95, 0x03, 0x81, 0x02,             // input: 3 bytes
          0xC0, 0xC0, 0xC0, 0xC0},
         false,
         {{0x0001, 0x0002, 4, 0, 0, {0}}}},
        {"fields of no size make no report",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95,
          0x00, 0x81, 0x02, 0x75, 0x00, 0x95, 0x04, 0xB1, 0x02, 0xC0},
         false,
         {{0xFF00, 0x0001, 0, 0, 0, {}}}},
        {"reserved item types and unknown tags are passed over",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, //
          0x0D, 0x55,                               // reserved type
          0xF5, 0x01,                               // global tag 15
          0x01, 0x00,                               // main tag 0
          0x75, 0x08, 0x95, 0x01, 0x91, 0x02, 0xC0},
         false,
         {{0xFF00, 0x0001, 0, 2, 0, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parse(c.descriptor);
        ASSERT_TRUE(parsed.ok()) << "fault " << static_cast<int>(parsed.fault) << " at "
                                 << parsed.faultOffset;
        EXPECT_EQ(parsed.layout.numberedReports, c.numbered);
        EXPECT_EQ(parsed.layout.collections, c.collections);
    }
}

TEST(ReportDescriptor, MalformedDescriptorsFailAtTheItemAtFault) {
    struct Case {
        const char* name;
        Bytes descriptor;
        DescriptorFault fault;
        std::size_t offset;
    };
    const std::vector<Case> cases{
        {"one-byte item without its byte", {0x05, 0x01, 0x05}, DescriptorFault::Truncated, 2},
        {"two-byte item with one", {0x26, 0xFF}, DescriptorFault::Truncated, 0},
        {"four-byte item with three", {0x09, 0x01, 0x27, 0xFF, 0xFF, 0xFF}, DescriptorFault::Truncated, 2},
        {"long item without its header", {0xFE, 0x04}, DescriptorFault::Truncated, 0},
        {"long item shorter than it says", {0xFE, 0x05, 0x00, 0x01, 0x02}, DescriptorFault::Truncated, 0},
        {"pop without push", {0xA4, 0xB4, 0xB4}, DescriptorFault::PopWithoutPush, 2},
        {"end without collection", {0xA1, 0x01, 0xC0, 0xC0}, DescriptorFault::EndWithoutCollection, 3},
        {"collection never closed", {0xA1, 0x01, 0xA1, 0x00, 0xC0}, DescriptorFault::UnclosedCollection, 5},
        {"report id 0", {0x85, 0x00}, DescriptorFault::InvalidReportId, 0},
        {"report id without data", {0x09, 0x01, 0x84}, DescriptorFault::InvalidReportId, 2},
        {"report id 256", {0x86, 0x00, 0x01}, DescriptorFault::InvalidReportId, 0},
        {"a field longer than a report can be",
         {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02},
         DescriptorFault::ReportTooLong,
         10},
        {"two fields adding up past the longest report",
         {0x75, 0x08, 0x96, 0x00, 0x80, 0xB1, 0x02, 0xB1, 0x02},
         DescriptorFault::ReportTooLong,
         7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parse(c.descriptor);
        EXPECT_EQ(parsed.fault, c.fault);
        EXPECT_EQ(parsed.faultOffset, c.offset);
    }
}

// A cut descriptor never passes for a collection with shorter reports.
TEST(ReportDescriptor, CutDescriptorsFailOrListNothing) {
    EXPECT_TRUE(parse({}).ok());
    for (const Bytes* whole : {&descriptors::kBootMouse, &descriptors::kBootKeyboard}) {
        EXPECT_TRUE(parse(*whole).ok());
        for (std::size_t length = 1; length < whole->size(); ++length) {
            SCOPED_TRACE("cut at " + std::to_string(length));
            const Bytes cut(whole->begin(), whole->begin() + static_cast<std::ptrdiff_t>(length));
            const auto parsed = parse(cut);
            if (parsed.ok()) {
                EXPECT_TRUE(parsed.layout.collections.empty());
            } else {
                EXPECT_TRUE(parsed.fault == DescriptorFault::Truncated ||
                            parsed.fault == DescriptorFault::UnclosedCollection);
            }
        }
    }
}

} // namespace
} // namespace quorvel
