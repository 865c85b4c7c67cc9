// Any bytes as str.ini: it reads in one pass, the labels and the skin are
// written back, and then read back as written while the other languages'
// sections stay as they were.

#include <algorithm>

#include "config/str_ini.h"
#include "fuzz_support.h"

namespace {

// A value that reading changes on the way back (outer quotes are dropped,
// a stray carriage return inside becomes a blank) is not compared.
bool ReadsBackAsItself(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return !quoted && value.find('\r') == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    fuzz::InputFile input("/data/str.ini", data, size);
    auto& [path, files] = input;
    StrIni strIni(files, path, "Setting-EN");

    const auto read = strIni.ReadAll();
    Require(read.ok(), "a data file under the size cap did not read");
    Require(files.reads == 1, "str.ini was read more than once");
    const IniDocument before(files.files[path]);
    const std::vector<IniEntry> chinese = before.entries("Setting-CHS");

    Require(!strIni.WriteLabels(read->labels), "the labels read could not be written back");
    Require(!strIni.WriteSkin(read->skin), "the skin read could not be written back");
    const auto again = strIni.ReadAll();
    Require(again.ok(), "the written file did not read");
    for (std::size_t mode = 0; mode < 2; ++mode) {
        for (std::size_t button = 0; button < read->labels[mode].size(); ++button) {
            const std::string& label = read->labels[mode][button];
            if (ReadsBackAsItself(label)) {
                Require(again->labels[mode][button] == label, "a label did not read back");
            }
        }
    }
    const Rgb colour = read->skin.textColour;
    const Rgb colourAgain = again->skin.textColour;
    Require(colour.red == colourAgain.red && colour.green == colourAgain.green &&
                colour.blue == colourAgain.blue,
            "the text colour did not read back");
    if (ReadsBackAsItself(read->skin.path)) {
        Require(again->skin.path == read->skin.path, "the skin path did not read back");
    }
    const std::vector<IniEntry> chineseAgain = IniDocument(files.files[path]).entries("Setting-CHS");
    Require(
        std::equal(chinese.begin(), chinese.end(), chineseAgain.begin(), chineseAgain.end(),
                   [](const IniEntry& a, const IniEntry& b) { return a.key == b.key && a.value == b.value; }),
        "another language's labels changed");
    return 0;
}
