#pragma once

#include <filesystem>
#include <string>

#include "app/factory_settings.h"
#include "system/linux/local_file_system.h"

// A throw-away data folder with the factory files and the shipped skins, as
// a fresh installation has them.
struct BenchDataFolder {
    std::filesystem::path folder;

    BenchDataFolder() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        fs::copy(fs::path(QUORVEL_SOURCE_DIR) / "res/skins", folder / "Skins", fs::copy_options::recursive);
        quorvel::LocalFileSystem files;
        for (const auto& [name, content] :
             {std::pair{"config.bin", quorvel::FactoryConfigBin()}, std::pair{"str.ini", quorvel::FactoryStrIni()}}) {
            files.writeAtomically(folder / name,
                                  std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
        }
    }
    ~BenchDataFolder() { std::filesystem::remove_all(folder); }
};
