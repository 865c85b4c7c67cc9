// config.bin of any size and content: only a file of exactly 2022 bytes is
// loaded, anything else leaves the record alone and is no first run; what is
// loaded is saved and loads back byte for byte; and the key matrices and
// macro loop counts made from the record take any bytes.

#include <cstring>

#include "assign/key_matrices.h"
#include "config/config_file.h"
#include "fuzz_support.h"
#include "macro/macro_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    fuzz::InputFile input("/data/config.bin", data, size);
    auto& [path, files] = input;
    ConfigFile file(files, path, "/data/quorvel");

    DeviceConfig config = zeroDeviceConfig();
    const FileStatus loaded = file.LoadConfig(config);
    if (size != kConfigFileSize) {
        Require(loaded && loaded->kind == FileError::Kind::WrongSize && loaded->size == size,
                "a file of the wrong size was not refused as such");
        Require(config == zeroDeviceConfig(), "a refused file changed the record");
        Require(file.firstRunFlag() == 1, "a damaged file counts as a first run");
        Require(files.writes == 0, "loading wrote");
        // The record as the window has it then: all zero, or the bytes there are.
        std::memcpy(config.bytes().data(), data, std::min(size, kDeviceConfigSize));
    } else {
        Require(!loaded, "a file of the right size did not load");
        Require(file.firstRunFlag() == data[0], "the first-run flag is not the first byte");
        Require(std::memcmp(config.bytes().data(), data + 1, kDeviceConfigSize) == 0,
                "the record is not the file's bytes");
    }

    const KeyMatrices matrices = BuildKeyMatrices(config);
    (void)matrices;
    for (const MacroSlot& slot : config.macroSlots) {
        Require(MacroLoopCount(slot) <= 0xFFFF, "a loop count beyond 16 bits");
    }

    Require(!file.SaveConfig(config), "saving over an existing file failed");
    Require(files.files[path].size() == kConfigFileSize && files.files[path][0] == 1,
            "the saved file is not whole");
    DeviceConfig reloaded = zeroDeviceConfig();
    ConfigFile again(files, path, "/data/quorvel");
    Require(!again.LoadConfig(reloaded) && reloaded == config && again.firstRunFlag() == 1,
            "the saved record does not load back");
    return 0;
}
