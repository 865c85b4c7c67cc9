#pragma once

#include <string>

#include "config/config_file.h"
#include "config/device_config.h"

namespace quorvel {

// The settings a new mouse owner starts from; the factory config.bin and
// str.ini shipped with the program are made from these.
DeviceConfig FactoryDeviceConfig();

// The factory config.bin: first-run flag 0, then the record.
std::string FactoryConfigBin();

// The factory str.ini: the default skin and a text colour that reads well on
// it. The labels are written on the first run, in the user's language.
std::string FactoryStrIni();

} // namespace quorvel
