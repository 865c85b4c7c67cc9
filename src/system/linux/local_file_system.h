#pragma once

#include "ports/file_system.h"

namespace quorvel {

// The files of the machine the program runs on.
class LocalFileSystem final : public FileSystem {
public:
    bool exists(const std::filesystem::path& path) const override;
    std::optional<Stamp> stamp(const std::filesystem::path& path) const override;
    FileResult<std::string> readAll(const std::filesystem::path& path) const override;
    FileStatus writeAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) override;
    std::unique_ptr<FolderLock> lockFolder(const std::filesystem::path& folder) override;
    void removeStaleTemporaries(const std::filesystem::path& file) override;
};

// Writes `bytes` as the file `path` in one step, as writeAtomically does,
// except that a symbolic link at `path` is replaced by the new file rather
// than followed to the file it names.
FileStatus ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace quorvel
