#include "config/device_config.h"

#include <cstring>

namespace quorvel {

bool DeviceConfig::dpiStageColourSwitch(int stage, int j) const {
    const Byte b = dpiStageColourSwitches.at(static_cast<std::size_t>(stage / 2));
    const int bit = (stage % 2) * 4 + j;
    return (b >> bit) & 1;
}

void DeviceConfig::setDpiStageColourSwitch(int stage, int j, bool on) {
    Byte& b = dpiStageColourSwitches.at(static_cast<std::size_t>(stage / 2));
    const Byte mask = static_cast<Byte>(1u << ((stage % 2) * 4 + j));
    b = on ? static_cast<Byte>(b | mask) : static_cast<Byte>(b & ~mask);
}

bool operator==(const DeviceConfig& a, const DeviceConfig& b) {
    return std::memcmp(&a, &b, sizeof(DeviceConfig)) == 0;
}

DeviceConfig zeroDeviceConfig() {
    DeviceConfig config;
    std::memset(&config, 0, sizeof config);
    return config;
}

} // namespace quorvel
