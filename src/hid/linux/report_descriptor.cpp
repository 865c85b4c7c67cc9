#include "hid/linux/report_descriptor.h"

#include <array>
#include <bitset>
#include <optional>

namespace quorvel {

namespace {

// Item prefix: bits 0-1 the data size code, bits 2-3 the type, bits 4-7 the tag.
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::array<std::size_t, 4> kShortItemDataSizes{0, 1, 2, 4};
constexpr std::size_t kLongItemHeaderSize = 3; // prefix, data size, long tag

enum ItemType : std::uint8_t { kMainItem = 0, kGlobalItem = 1, kLocalItem = 2 };

enum MainTag : std::uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : std::uint8_t {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : std::uint8_t { kUsage = 0x0, kUsageMinimum = 0x1 };

constexpr std::uint32_t kApplicationCollection = 0x01;

enum ReportKind : std::size_t { kInputReport, kOutputReport, kFeatureReport, kReportKindCount };
constexpr std::size_t kReportIdCount = 256;
constexpr std::size_t kReportSlots = kReportKindCount * kReportIdCount;

// Longest report whose length, ID byte included, still fits 16 bits.
constexpr std::uint64_t kMaxReportBits = (0xFFFFull - 1) * 8;

struct GlobalState {
    std::uint16_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

// A Usage item with four data bytes carries its own page in the high half;
// a shorter one takes the Usage Page in effect when its main item is read.
struct LocalUsage {
    std::uint32_t value = 0;
    bool carriesPage = false;
};

struct OpenCollection {
    TopLevelCollection collection;
    std::bitset<kReportSlots> reports; // (kind, id) slots used inside it
};

std::size_t slot(std::size_t kind, std::uint8_t id) {
    return kind * kReportIdCount + id;
}

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

class DescriptorReader {
public:
    ParsedReportDescriptor read(std::span<const std::uint8_t> descriptor);

private:
    bool mainItem(std::uint8_t tag, std::uint32_t data);
    bool globalItem(std::uint8_t tag, std::size_t size, std::uint32_t data);
    void localItem(std::uint8_t tag, std::size_t size, std::uint32_t data);
    bool addField(std::size_t kind);
    void finish();
    bool fail(DescriptorFault fault) {
        result_.fault = fault;
        return false;
    }

    ParsedReportDescriptor result_;
    GlobalState global_;
    std::vector<GlobalState> pushed_;
    std::vector<LocalUsage> usages_;
    std::optional<LocalUsage> usageMinimum_;
    std::size_t depth_ = 0;
    std::optional<std::size_t> topLevel_; // index into tops_ while inside an Application collection
    std::vector<OpenCollection> tops_;
    std::array<std::uint64_t, kReportSlots> reportBits_{};
};

ParsedReportDescriptor DescriptorReader::read(std::span<const std::uint8_t> descriptor) {
    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        result_.faultOffset = pos;
        const std::size_t left = descriptor.size() - pos;
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // No long item is defined; skip it whole.
            if (left < kLongItemHeaderSize || left - kLongItemHeaderSize < descriptor[pos + 1]) {
                fail(DescriptorFault::Truncated);
                return result_;
            }
            pos += kLongItemHeaderSize + descriptor[pos + 1];
            continue;
        }
        const std::size_t size = kShortItemDataSizes[prefix & 0x3];
        if (left - 1 < size) {
            fail(DescriptorFault::Truncated);
            return result_;
        }
        const std::uint32_t data = littleEndian(descriptor.subspan(pos + 1, size));
        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        bool sound = true;
        if (type == kMainItem) {
            sound = mainItem(tag, data);
        } else if (type == kGlobalItem) {
            sound = globalItem(tag, size, data);
        } else if (type == kLocalItem) {
            localItem(tag, size, data);
        }
        if (!sound) {
            return result_;
        }
        pos += 1 + size;
    }
    result_.faultOffset = descriptor.size();
    if (depth_ != 0) {
        fail(DescriptorFault::UnclosedCollection);
        return result_;
    }
    finish();
    result_.faultOffset = 0;
    return result_;
}

bool DescriptorReader::mainItem(std::uint8_t tag, std::uint32_t data) {
    bool sound = true;
    switch (tag) {
    case kInput:
        sound = addField(kInputReport);
        break;
    case kOutput:
        sound = addField(kOutputReport);
        break;
    case kFeature:
        sound = addField(kFeatureReport);
        break;
    case kCollection:
        if (depth_ == 0) {
            topLevel_.reset();
            if ((data & 0xFF) == kApplicationCollection) {
                std::optional<LocalUsage> named;
                if (!usages_.empty()) {
                    named = usages_.front();
                } else {
                    named = usageMinimum_;
                }
                OpenCollection top;
                if (named) {
                    top.collection.usagePage = named->carriesPage
                                                   ? static_cast<std::uint16_t>(named->value >> 16)
                                                   : global_.usagePage;
                    top.collection.usage = static_cast<std::uint16_t>(named->value & 0xFFFF);
                } else {
                    top.collection.usagePage = global_.usagePage;
                }
                topLevel_ = tops_.size();
                tops_.push_back(std::move(top));
            }
        }
        ++depth_;
        break;
    case kEndCollection:
        if (depth_ == 0) {
            return fail(DescriptorFault::EndWithoutCollection);
        }
        if (--depth_ == 0) {
            topLevel_.reset();
        }
        break;
    default:
        break;
    }
    usages_.clear();
    usageMinimum_.reset();
    return sound;
}

bool DescriptorReader::addField(std::size_t kind) {
    const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
    if (bits == 0) {
        return true;
    }
    std::uint64_t& total = reportBits_[slot(kind, global_.reportId)];
    if (bits > kMaxReportBits || total > kMaxReportBits - bits) {
        return fail(DescriptorFault::ReportTooLong);
    }
    total += bits;
    if (topLevel_) {
        tops_[*topLevel_].reports.set(slot(kind, global_.reportId));
    }
    return true;
}

bool DescriptorReader::globalItem(std::uint8_t tag, std::size_t size, std::uint32_t data) {
    switch (tag) {
    case kUsagePage:
        global_.usagePage = static_cast<std::uint16_t>(data & 0xFFFF);
        break;
    case kReportSize:
        global_.reportSize = data;
        break;
    case kReportCount:
        global_.reportCount = data;
        break;
    case kReportId:
        if (size == 0 || data == 0 || data > 0xFF) {
            return fail(DescriptorFault::InvalidReportId);
        }
        global_.reportId = static_cast<std::uint8_t>(data);
        result_.layout.numberedReports = true;
        break;
    case kPush:
        pushed_.push_back(global_);
        break;
    case kPop:
        if (pushed_.empty()) {
            return fail(DescriptorFault::PopWithoutPush);
        }
        global_ = pushed_.back();
        pushed_.pop_back();
        break;
    default:
        break;
    }
    return true;
}

void DescriptorReader::localItem(std::uint8_t tag, std::size_t size, std::uint32_t data) {
    const LocalUsage usage{data, size == 4};
    if (tag == kUsage) {
        usages_.push_back(usage);
    } else if (tag == kUsageMinimum) {
        usageMinimum_ = usage;
    }
}

void DescriptorReader::finish() {
    for (OpenCollection& top : tops_) {
        std::array<std::uint16_t*, kReportKindCount> lengths{&top.collection.inputReportLength,
                                                             &top.collection.outputReportLength,
                                                             &top.collection.featureReportLength};
        for (std::size_t kind = 0; kind < kReportKindCount; ++kind) {
            for (std::size_t id = 0; id < kReportIdCount; ++id) {
                const std::size_t s = slot(kind, static_cast<std::uint8_t>(id));
                if (!top.reports.test(s)) {
                    continue;
                }
                const auto bytes = static_cast<std::uint16_t>((reportBits_[s] + 7) / 8 + 1);
                if (bytes > *lengths[kind]) {
                    *lengths[kind] = bytes;
                }
                if (kind == kInputReport) {
                    top.collection.inputReportIds.push_back(static_cast<std::uint8_t>(id));
                }
            }
        }
        result_.layout.collections.push_back(std::move(top.collection));
    }
}

} // namespace

ParsedReportDescriptor parseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    return DescriptorReader().read(descriptor);
}

} // namespace quorvel
