// quorvelctl's macro commands on a data folder in memory whose record.ini is
// any bytes, with one chosen write failing: a refused command changes no
// file, and a command that succeeds leaves the macro table in config.bin as
// record.ini rebuilds it, an added macro listed.
//
// The input: one byte that picks the write that fails (0: none), one that
// picks the command, one that gives the length of the macro's name, the
// name, two bytes (high first) that give the length of record.ini,
// record.ini, and the event lines of an add.

#include <sstream>

#include "config/config_file.h"
#include "fuzz_support.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"
#include "macro_command.h"

namespace {

// The files, the n-th write of which fails as on a full disk.
struct FailingFiles : quorvel::testing::MemoryFileSystem {
    int failAt = 0;
    quorvel::FileStatus writeAtomically(const std::filesystem::path& path,
                                        std::span<const std::uint8_t> bytes) override {
        if (writes + 1 == failAt) {
            ++writes;
            return quorvel::FileError{quorvel::FileError::Kind::WriteFailed, path, ENOSPC};
        }
        return MemoryFileSystem::writeAtomically(path, bytes);
    }
};

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int byte() { return at < size ? data[at++] : 0; }
    std::string bytes(std::size_t n) {
        n = std::min(n, size - at);
        std::string text(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return text;
    }
    std::string rest() { return bytes(size - at); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using quorvel::fuzz::Require;
    Reader input{data, size};
    FailingFiles files;
    files.failAt = input.byte() % 8;
    constexpr ctl::MacroCommand::Kind kKinds[] = {ctl::MacroCommand::Kind::Add, ctl::MacroCommand::Kind::Delete,
                                                  ctl::MacroCommand::Kind::List, ctl::MacroCommand::Kind::Show};
    const ctl::MacroCommand::Kind kind = kKinds[input.byte() % 4];
    const std::string name = input.bytes(static_cast<std::size_t>(input.byte() % 64));
    const std::size_t recordSize = static_cast<std::size_t>(input.byte()) << 8 | static_cast<std::size_t>(input.byte());
    const std::string record = input.bytes(recordSize);
    std::istringstream events(input.rest());

    const DataPaths paths = DataPathsIn("/data");
    // Mode A's button 3 plays the first macro: deleting it writes str.ini too.
    std::string bin(kConfigFileSize, '\0');
    bin[1 + 3] = 13;
    files.files[paths.configBin] = bin;
    files.files[paths.strIni] = "[Setting-EN]\nItem1=Macro Key-1\n";
    files.files[paths.recordIni] = record;
    const auto before = files.files;

    std::ostringstream out, err;
    const int status = ctl::RunMacroCommand({kind, name, "-"}, paths, files, events, out, err);
    Require(status == 0 || status == 1, "an exit status other than 0 or 1");
    Require(files.writesUnlocked == 0, "a write without the folder's lock");
    if (status != 0) {
        Require(files.files == before, "a refused command changed a file");
        Require(!err.str().empty(), "a refusal without a message");
        return 0;
    }
    if (kind == ctl::MacroCommand::Kind::List || kind == ctl::MacroCommand::Kind::Show) {
        Require(files.files == before, "a listing changed a file");
        return 0;
    }
    DeviceConfig stored = zeroDeviceConfig();
    Require(!ConfigFile(files, paths.configBin, {}).LoadConfig(stored), "config.bin cannot be read back");
    DeviceConfig rebuilt = stored;
    RebuildMacroTable(IniFile(files, paths.recordIni), rebuilt);
    Require(rebuilt.macroSlots == stored.macroSlots, "the table is not what record.ini rebuilds to");
    if (kind == ctl::MacroCommand::Kind::Add) {
        const auto listed = ReadMacroNames(IniFile(files, paths.recordIni)).names;
        Require(std::find(listed.begin(), listed.end(), name) != listed.end(), "an added macro is not listed");
    }
    return 0;
}
