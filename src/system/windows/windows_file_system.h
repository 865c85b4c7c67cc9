#pragma once

#include "ports/file_system.h"

namespace quorvel {

// The files of the Windows machine the program runs on. A save goes to a
// temporary file beside the target, written through to the disk, which then
// replaces the target in one step.
class WindowsFileSystem final : public FileSystem {
public:
    bool exists(const std::filesystem::path& path) const override;
    std::optional<Stamp> stamp(const std::filesystem::path& path) const override;
    FileResult<std::string> readAll(const std::filesystem::path& path) const override;
    FileStatus writeAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) override;
    std::unique_ptr<FolderLock> lockFolder(const std::filesystem::path& folder) override;
    void removeStaleTemporaries(const std::filesystem::path& file) override;
};

// The errno value that stands for a Windows error code (ENOSPC for a full
// disk, EACCES for a refused access, ...); EIO for codes without one.
int ErrnoFromWindowsError(unsigned long error);

} // namespace quorvel
