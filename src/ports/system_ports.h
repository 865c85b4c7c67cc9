#pragma once

#include "ports/file_error.h"

namespace quorvel {

// Keeps a second copy of the program from running.
class SingleInstancePort {
public:
    virtual ~SingleInstancePort() = default;
    // True for the first copy; it holds the claim until it ends.
    virtual bool acquire() = 0;
};

// For a run that may go beside a running copy (a picture of the window):
// it claims nothing and keeps no one else out.
class NoSingleInstance final : public SingleInstancePort {
public:
    bool acquire() override { return true; }
};

// Whether the desktop starts the program when this user logs in, as the
// desktop reads it: the user's own choice where there is one, else the
// system's entry.
class AutostartPort {
public:
    virtual ~AutostartPort() = default;
    // Whether the next login starts the program.
    virtual bool startsWithDesktop() const = 0;
    // Makes the next login start the program, or not, for this user only.
    // On failure the error names what could not be written, and what was
    // there before is still there.
    virtual FileStatus setStartsWithDesktop(bool start) = 0;
};

// For a copy that must leave the desktop's start alone (the demo): the
// choice lives as long as the program.
class KeptAutostart final : public AutostartPort {
public:
    bool startsWithDesktop() const override { return start_; }
    FileStatus setStartsWithDesktop(bool start) override {
        start_ = start;
        return std::nullopt;
    }

private:
    bool start_ = false;
};

} // namespace quorvel
