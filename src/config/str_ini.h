#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/device_config.h"
#include "config/ini_file.h"

namespace quorvel {

// The button labels of both modes, as the Basic page shows them.
using ButtonLabels = std::array<std::array<std::string, kButtonCount>, 2>;

struct SkinSettings {
    Rgb textColour{0, 0, 0};
    std::string path; // the skin's folder name under Skins; empty: Skins itself
};

struct InterfaceSettings {
    ButtonLabels labels;
    SkinSettings skin;
};

// The key of a button label: "Item1".."Item12" for Mode A and
// "Item13", "Item23", .., "Item123" for Mode B.
std::string LabelKey(int mode, int button);

// str.ini: the button labels per interface language and the skin settings.
class StrIni {
public:
    // `languageSection` is the current language's section ("Setting-EN", ...).
    StrIni(FileSystem& files, std::filesystem::path path, std::string languageSection);

    // Reads the 24 labels and the four skin values in one read of the file;
    // missing values, and a missing file, read empty (black text, the Skins
    // folder itself). A file that is there but cannot be read is an error.
    FileResult<InterfaceSettings> ReadAll() const;

    // Each rewrites the file once.
    FileStatus WriteLabels(const ButtonLabels& labels);
    FileStatus WriteSkin(const SkinSettings& skin);

    const std::filesystem::path& path() const { return file_.path(); }

private:
    IniFile file_;
    std::string section_;
};

} // namespace quorvel
