#include "app/dpi_levels.h"

namespace quorvel {

namespace {

constexpr std::string_view kScale0[] = {"250",  "500",  "750",  "1000", "1250", "1500",
                                        "1750", "2000", "2500", "3000", "3500", "4000"};
constexpr std::string_view kScale1[] = {"600", "800", "1000", "1200", "1600", "2000", "2400", "3200"};
constexpr std::string_view kScale2[] = {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"};
constexpr std::string_view kScale3[] = {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200"};
constexpr Byte kHighestKnownSensor = 3;

} // namespace

std::span<const std::string_view> DpiScale(Byte sensorType) {
    switch (sensorType) {
    case 1:
        return kScale1;
    case 2:
        return kScale2;
    case 3:
        return kScale3;
    default:
        return kScale0;
    }
}

std::string_view DpiLabel(Byte sensorType, int valueIndex) {
    const auto scale = DpiScale(sensorType);
    if (sensorType > kHighestKnownSensor || valueIndex < 0 ||
        static_cast<std::size_t>(valueIndex) >= scale.size()) {
        return {};
    }
    return scale[static_cast<std::size_t>(valueIndex)];
}

} // namespace quorvel
