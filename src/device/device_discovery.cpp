#include "device/device_discovery.h"

#include <utility>

#include "device/feature_channel.h"
#include "device/mouse_identity.h"

namespace quorvel {

namespace {

OpenResult Refused(HidOpenError error) {
    return error == HidOpenError::NoPermission ? OpenResult::NoPermission : OpenResult::NoMouse;
}

} // namespace

OpenedMouse OpenMouse(HidPort& hid) {
    OpenedMouse opened;
    for (const HidInterface& interface : hid.enumerate()) {
        opened.devicePath = interface.path;
        if (IsEventCollection(interface)) {
            if (interface.inputReportLength > kEventBufferSize) {
                continue;
            }
            HidOpenResult input = hid.open(interface.path, HidAccess::Read);
            if (!input.device) {
                opened.result = Refused(input.error);
                return opened;
            }
            opened.eventInput = std::move(input.device);
            opened.eventReportLength = interface.inputReportLength;
            HidOpenResult write = hid.open(interface.path, HidAccess::Write);
            if (!write.device) {
                opened.result = Refused(write.error);
                return opened;
            }
            opened.eventWrite = std::move(write.device);
            continue;
        }
        if (IsFeatureCollection(interface)) {
            if (!FitsBuffers(interface)) {
                opened.result = OpenResult::Unusable;
                return opened;
            }
            HidOpenResult feature = hid.open(interface.path, HidAccess::ReadWrite);
            if (!feature.device) {
                opened.result = Refused(feature.error);
                return opened;
            }
            opened.feature = std::move(feature.device);
            opened.featureCollection = interface;
            opened.result = OpenResult::Opened;
            return opened;
        }
    }
    opened.result = OpenResult::NoMouse;
    return opened;
}

std::optional<HidNotice> DecidingMouseNotice(std::vector<HidNotice> notices) {
    std::optional<HidNotice> deciding;
    for (HidNotice& notice : notices) {
        if (!IsMouse(notice.vendorId, notice.productId)) {
            continue;
        }
        if (!deciding || notice.kind == HidNotice::Kind::Arrival) {
            deciding = std::move(notice);
        }
    }
    return deciding;
}

} // namespace quorvel
