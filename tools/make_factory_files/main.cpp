// Writes the factory config.bin and str.ini that ship with the program.
//   make_factory_files <output folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/factory_settings.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_factory_files <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::pair<const char*, std::string> files[] = {
        {"config.bin", quorvel::FactoryConfigBin()},
        {"str.ini", quorvel::FactoryStrIni()},
    };
    for (const auto& [name, content] : files) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out.flush()) {
            std::cerr << "cannot write " << (folder / name) << "\n";
            return 1;
        }
    }
    return 0;
}
